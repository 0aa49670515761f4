#include "sendwell/run_sendwell.h"

#include <memory>

#include "common/registry/mail_account.h"
#include "platform/print/report_font_name.h"
#include "platform/program_exit.h"
#include "sendwell/dispatch_log.h"
#include "sendwell/host_paths.h"
#include "platform/text_lines.h"
#include "sendwell/message_assembler.h"
#include "sendwell/message_sender.h"
#include "sendwell/mail_setup.h"
#include "sendwell/sign_padded.h"
#include "sendwell/send_journal.h"

namespace zlt::sendwell {

const char* const setupNotFoundTitle = "ZELTO eMail Error - Setup not found";
const char* const setupNotFoundText =
    "A valid setup for ZELTO eMail can't be found on the\n"
    "fixed and networks drives available to this machine.\n"
    "\n"
    "Please contact ZELTO for further instructions.\n";

namespace {

// The most mail files one run takes; the rest wait for the next run.
constexpr size_t MaxMailFiles = 101;

class DispatchRun {
public:
    DispatchRun(SendwellPlatform& platform, std::string root)
        : platform_(platform), paths_ {std::move(root)},
          log_(platform.files, platform.clock, platform.window, platform.codePage, paths_.logFile())
    {
    }

    // A failure that ends the run is told in the log too, when the log can
    // still be written, before it reaches the program's error line.
    int run()
    {
        log_.start();
        log_.status("Commence mail initialisation");
        try {
            return runLogged();
        } catch (const RunTimeError& error) {
            try {
                log_.status("Error: The run stopped: " + platform_.codePage.fromUtf8(error.description()) + " (error " +
                            std::to_string(error.number()) + ")");
            } catch (const RunTimeError&) {
            }
            throw;
        }
    }

private:
    int runLogged()
    {
        platform_.mail.setDownloadMail(false);
        platform_.mail.setUserName("");
        platform_.files.fileSystem().createFolders(platform_.files.resolve(paths_.progressFolder()));
        const auto lock = platform_.locks.tryLock(platform_.files.resolve(paths_.runLockFile()));
        if (!lock) {
            log_.status("Another run is dispatching the mail of " + paths_.queueFolder() + "; this run ends");
            log_.status("Completed mail process");
            return exit_status::LeftForNextRun;
        }
        removeStaleJournals();
        const std::string statusText = dispatch();
        log_.status(statusText);
        log_.status("Completed mail process");
        return filed_ == listed_ ? exit_status::Done : exit_status::LeftForNextRun;
    }

    // The text of the closing line.
    std::string dispatch()
    {
        const auto list = loadMailList(platform_.files, paths_.listFile());
        if (!list)
            log_.status("Error: Can't find the ZELTO file list file, at " + paths_.listFile());
        const std::vector<std::string> names = queuedNames(list.value_or(std::vector<std::string> {}));
        const int mailCount = static_cast<int>(names.size());
        log_.setCounts(0, mailCount);
        if (mailCount < 1)
            return "There are no emails awaiting to be processed";
        log_.status("Preparing to process" + signPadded(mailCount) + " mail files from " + paths_.queueFolder());
        if (waiting_.size() == 1)
            log_.status("Mail file " + waiting_.front() + " waits for the next run: one run takes " +
                        std::to_string(MaxMailFiles) + " mail files");
        else if (!waiting_.empty())
            log_.status(std::to_string(waiting_.size()) + " mail files wait for the next run, from " + waiting_.front() +
                        " to " + waiting_.back() + ": one run takes " + std::to_string(MaxMailFiles) + " mail files");
        if (const auto name = mailProfileName())
            platform_.mail.setUserName(*name);
        const std::string user = platform_.codePage.fromUtf8(platform_.mail.userName());
        if (user.empty())
            return "Error: No default MAPI email account is setup on this machine";
        if (!tagFilesPresent())
            return "No mail was sent: every mail file stays queued for the next run";

        log_.status("Signed on to MAPI account " + user);
        platform_.mail.signOn();
        if (const std::uint32_t session = platform_.mail.sessionId()) {
            log_.status("Established MAPI session number " + std::to_string(session));
            platform_.mail.setMessagesSessionId(session);
            dispatchFiles(names, user);
        } else {
            log_.status("Error: The MAPI account " + user + " could not be signed on to: " +
                        platform_.codePage.fromUtf8(platform_.mail.signOnProblem()));
        }
        platform_.mail.signOff();
        return "Signed out of MAPI account " + user;
    }

    // The listed names this run takes: the first MaxMailFiles still in the
    // queue folder, so that names already filed never take a run's place.
    // Those later wait; names no longer queued are skipped, those in the
    // sent folder told of in one line, however many.
    std::vector<std::string> queuedNames(const std::vector<std::string>& listed)
    {
        listed_ = listed.size();
        std::vector<std::string> taken, filed;
        for (const std::string& name : listed) {
            if (!isPlainFileName(name)) {
                log_.status("Mail file name \"" + shownName(name) + "\" names no file of the queue folder; skipped");
            } else if (platform_.files.fileExists(paths_.queueFolder() + name)) {
                (taken.size() < MaxMailFiles ? taken : waiting_).push_back(name);
            } else if (platform_.files.fileExists(paths_.sentFolder() + name)) {
                filed.push_back(name);
            } else {
                logNoLongerQueued(name, false);
            }
        }
        filed_ = filed.size();
        if (filed.size() == 1)
            logNoLongerQueued(filed.front(), true);
        else if (!filed.empty())
            log_.status(std::to_string(filed.size()) + " mail files are no longer in the queue folder (they are in the sent "
                        "folder), from " + filed.front() + " to " + filed.back() + "; skipped");
        return taken;
    }

    void logNoLongerQueued(const std::string& name, bool inSentFolder)
    {
        log_.status("Mail file " + name + " is no longer in the queue folder" +
                    (inSentFolder ? " (it is in the sent folder)" : "") + "; skipped");
    }

    // A registry file that cannot be read names no account, as a missing one does.
    std::optional<std::string> mailProfileName()
    {
        try {
            return registry::mailProfileName(platform_.registry());
        } catch (const RunTimeError& error) {
            log_.status("Error: The registry cannot be read: " + platform_.codePage.fromUtf8(error.description()));
            return std::nullopt;
        }
    }

    bool tagFilesPresent()
    {
        bool present = true;
        for (const auto& [what, path] : {std::pair {"signature", paths_.signatureFile()},
                                         std::pair {"disclaimer", paths_.disclaimerFile()}}) {
            if (!platform_.files.fileExists(path)) {
                log_.status(std::string("Error: Can't find the ZELTO ") + what + " file, at " + path);
                present = false;
            }
        }
        return present;
    }

    void dispatchFiles(const std::vector<std::string>& names, const std::string& user)
    {
        MessageSender sender({platform_.files, platform_.mail, log_, platform_.codePage, paths_, reportFontName(platform_.printerFonts())});
        MessageAssembler assembler(sender);
        for (size_t index = 0; index < names.size(); ++index) {
            platform_.window.processEvents();
            log_.setCounts(static_cast<int>(index + 1), static_cast<int>(names.size()));
            dispatchFile(sender, assembler, names[index]);
            if (sender.accountRefused()) {
                log_.status("Error: The mail server refused the MAPI account " + user +
                            ": every mail file left stays queued for the next run");
                return;
            }
        }
    }

    void dispatchFile(MessageSender& sender, MessageAssembler& assembler, const std::string& name)
    {
        const std::string path = paths_.queueFolder() + name;
        if (!platform_.files.fileExists(path)) {  // listed twice, and filed at its first listing
            const bool filed = platform_.files.fileExists(paths_.sentFolder() + name);
            logNoLongerQueued(name, filed);
            filed_ += filed ? 1 : 0;
            return;
        }
        SendJournal journal(platform_.files, paths_.journalFile(name), fingerprintOfFile(platform_.files, path));
        {
            const auto file = platform_.files.openRead(path);
            LineReader reader(*file);
            log_.status("Opened mail file " + name + " for dispatch");
            sender.beginFile(journal);
            assembler.beginFile();
            const std::int64_t length = file->size();
            std::int64_t bytesRead = 0;
            for (std::string_view line; !sender.accountRefused() && reader.next(line);) {
                bytesRead += static_cast<std::int64_t>(line.size());  // line ends not counted
                platform_.window.setProgress(signPadded(length > 0 ? bytesRead * 100 / length : 0) + "%");
                assembler.addLine(line);
                platform_.window.processEvents();
            }
            if (!sender.accountRefused())
                assembler.endFile();
        }
        if (sender.leftQueued()) {
            log_.status("Mail file " + name + " stays in the queue folder for the next run");
            return;
        }
        if (!assembler.sawHeader())
            log_.status("Mail file " + name + " holds no email header: none of its text was sent");
        log_.status("Finished processing mail file " + name);
        moveToSent(name);
        journal.discard();
        ++filed_;
    }

    void moveToSent(const std::string& name)
    {
        const std::string from = paths_.queueFolder() + name, to = paths_.sentFolder() + name;
        bool replaced = false;
        try {
            if (!platform_.files.folderExists(paths_.sentFolder()))
                platform_.files.fileSystem().createFolders(platform_.files.resolve(paths_.sentFolder()));
            if ((replaced = platform_.files.fileExists(to)))
                platform_.files.remove(to);
            platform_.files.move(from, to);
        } catch (const RunTimeError& error) {
            throw RunTimeError(error.number(), error.description() + ": mail file " + name +
                                                   " could not be moved to the sent folder " + paths_.sentFolder());
        }
        if (replaced)
            log_.status(from + " deleted existing prior to move");
        log_.status("Mail file " + name + " moved to sent folder");
    }

    // Records of files no longer queued: left by a run that ended between
    // filing a file and removing its record.
    void removeStaleJournals()
    {
        const std::string folder = paths_.progressFolder();
        for (const std::string& entry : platform_.files.list(folder)) {
            const bool unfinished = entry.ends_with(".JNL.NEW");
            const bool record = entry.ends_with(".JNL");
            if (unfinished || (record && !platform_.files.fileExists(paths_.queueFolder() + entry.substr(0, entry.size() - 4))))
                platform_.files.remove(folder + entry);
        }
    }

    SendwellPlatform& platform_;
    HostPaths paths_;
    DispatchLog log_;
    std::vector<std::string> waiting_;
    size_t listed_ = 0;
    size_t filed_ = 0;
};

}  // namespace

int runSendwell(const std::string&, SendwellPlatform& platform)
{
    const std::string root = findMailRoot(platform.files);
    platform.window.show();
    if (root.empty()) {
        platform.messages.show(setupNotFoundTitle, setupNotFoundText);
        platform.window.hide();
        return exit_status::HostTreeNotFound;
    }
    DispatchRun run(platform, root);
    const int status = run.run();
    platform.window.hide();
    return status;
}

}  // namespace zlt::sendwell
