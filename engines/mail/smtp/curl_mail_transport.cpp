#include "engines/mail/smtp/curl_mail_transport.h"
#include "engines/mail/smtp/netrc.h"

#include <fstream>
#include <iterator>

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include "engines/mail/smtp/curl_mail_error.h"
#include "engines/mail/smtp/curl_mail_message.h"
#include "engines/mail/smtp/curl_resources.h"
#include "engines/mail/smtp/smtp_address.h"
#include "engines/mail/smtp/smtp_dialogue.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"

namespace zlt {

namespace {

using namespace error_number;

#if LIBCURL_VERSION_NUM >= 0x080200
constexpr CURLoption RecipientsMayFail = CURLOPT_MAIL_RCPT_ALLOWFAILS;
#else
constexpr CURLoption RecipientsMayFail = CURLOPT_MAIL_RCPT_ALLLOWFAILS;
#endif

// A whole message goes to libcurl in one read and to the server in one
// write: the largest the program sends, a part of 500,000 characters as rich
// text in base64, stays below this. Set once a handle: libcurl 7.88 keeps a
// scratch buffer sized by the first upload buffer for the handle's life.
constexpr long UploadBufferBytes = 1 << 20;

// Longer than any dispatch run: the server, not libcurl, decides when an
// idle connection ends.
constexpr long ConnectionMaxIdleSeconds = 24 * 3600;

// libcurl's process-wide state, set up once and released at exit.
class CurlGlobal {
public:
    CurlGlobal() : code_(curl_global_init(CURL_GLOBAL_DEFAULT)) {}
    ~CurlGlobal()
    {
        if (code_ == CURLE_OK)
            curl_global_cleanup();
    }
    CurlGlobal(const CurlGlobal&) = delete;
    CurlGlobal& operator=(const CurlGlobal&) = delete;
    CURLcode code() const { return code_; }

private:
    CURLcode code_;
};

void initialiseCurl()
{
    static const CurlGlobal global;
    if (global.code() != CURLE_OK)
        throw mail::mailError(global.code(), "curl_global_init");
}

RunTimeError badArgument(const std::string& what)
{
    return RunTimeError(InvalidProcedureCall, std::string(standardDescription(InvalidProcedureCall)) + " (" + what + ")");
}

bool isHostCharacter(char c, bool allowColon)
{
    return isAsciiLetter(c) || isAsciiDigit(c) || c == '.' || c == '-' ||
           c == '_' || (allowColon && c == ':');
}

bool isUsableHost(std::string_view host, bool allowColon)
{
    if (host.empty())
        return false;
    for (const char c : host)
        if (!isHostCharacter(c, allowColon))
            return false;
    return true;
}

// The name this machine greets the server with.
std::string greetingName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0 && isUsableHost(name, false))
        return name;
    return "localhost";
}

std::string urlOf(const MailAccount& account)
{
    const std::string host = account.server.find(':') == std::string::npos ? account.server : "[" + account.server + "]";
    const char* scheme = account.security == MailSecurity::ImplicitTls ? "smtps://" : "smtp://";
    return scheme + host + ":" + std::to_string(account.port) + "/" + greetingName();
}

void checkAccount(const MailAccount& account)
{
    if (account.server.empty())
        throw badArgument("the mail account names no SMTP server");
    if (account.senderAddress.empty())
        throw badArgument("the mail account names no sender address");
    if (!isUsableHost(account.server, true))
        throw badArgument("SMTP server name " + account.server);
    if (account.port < 1 || account.port > 65535)
        throw badArgument("SMTP port " + std::to_string(account.port));
    if (const std::string problem = mail::addressProblem(account.senderAddress); !problem.empty())
        throw badArgument("sender address " + account.senderAddress + ": " + problem);
}

long wholeSeconds(std::chrono::milliseconds time)
{
    return std::max<long>(1, static_cast<long>((time.count() + 999) / 1000));
}

int recordDialogue(CURL*, curl_infotype type, char* data, std::size_t size, void* dialogue)
{
    auto& log = *static_cast<mail::SmtpDialogue*>(dialogue);
    if (type == CURLINFO_HEADER_OUT)
        log.commandSent({data, size});
    else if (type == CURLINFO_HEADER_IN)
        log.replyReceived({data, size});
    else if (type == CURLINFO_DATA_OUT)
        log.dataSent();
    return 0;
}

std::size_t discard(char*, std::size_t size, std::size_t count, void*) { return size * count; }

bool isRefusalOfMessage(const mail::SmtpReply& reply)
{
    const auto& command = reply.command;
    return reply.code >= 400 && (command == "MAIL" || command == "RCPT" || command == "DATA" || command == ".");
}

MailVerdict verdictOfRefusal(const mail::SmtpReply& reply)
{
    if (reply.code == 530 || (reply.command == "MAIL" && reply.code >= 500))
        return MailVerdict::AccountRefused;
    return reply.code >= 500 ? MailVerdict::RefusedForGood : MailVerdict::RefusedForNow;
}

// libcurl logs in only where the server offers it (AUTH in its last EHLO
// reply) and goes on silently without: an account with a user name is
// then refused rather than sent from without its login.
bool offersLogin(const mail::SmtpDialogue& dialogue)
{
    std::string greeting;
    for (const auto& reply : dialogue.replies())
        if (reply.command == "EHLO" || reply.command == "HELO")
            greeting = reply.command == "EHLO" ? "\n" + upperAscii(reply.text) : "";
    return greeting.find("\nAUTH") != std::string::npos;
}

bool isConnectionLoss(CURLcode code)
{
    return code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR || code == CURLE_GOT_NOTHING ||
           code == CURLE_WEIRD_SERVER_REPLY;
}

class CurlMailTransport : public MailTransport {
public:
    CurlMailTransport(std::string netrcPath, Clock& clock)
        : netrcPath_(std::move(netrcPath)), clock_(clock), random_(std::random_device {}())
    {
        initialiseCurl();
    }
    ~CurlMailTransport() override { signOff(); }

    std::uint32_t signOn(const MailAccount& account) override
    {
        signOff();
        checkAccount(account);
        mail::EasyHandle handle(curl_easy_init());
        if (!handle)
            throw RunTimeError(CannotCreateObject);
        handle_ = std::move(handle);
        account_ = account;
        try {
            if (!account_.userName.empty() && account_.password.empty())
                account_.password = passwordFromNetrc();
            configure();
            set(CURLOPT_CUSTOMREQUEST, "NOOP");
            const CURLcode code = perform();
            set(CURLOPT_CUSTOMREQUEST, static_cast<const char*>(nullptr));
            if (code != CURLE_OK)
                throw failure(code);
            if (!account_.userName.empty() && !offersLogin(dialogue_))
                throw RunTimeError(PermissionDenied, "Permission denied (the server offers no login, and the account "
                                                     "names the user " + account_.userName + ")");
        } catch (...) {
            handle_.reset();
            throw;
        }
        if (++sessions_ == 0)
            ++sessions_;
        return sessions_;
    }

    MailDelivery send(const MailMessage& message) override
    {
        if (!handle_)
            throw badArgument("no mail session is signed on");
        if (const std::string problem = mail::addressProblem(message.recipient); !problem.empty())
            throw badArgument("recipient address: " + problem);
        std::optional<RunTimeError> error;
        {
            // Built once: a second try sends the very same message.
            const Outgoing outgoing {mail::buildMailBody(handle_.get(), message),
                                     mail::buildMailHeaders(account_, message, random_(), clock_.now()),
                                     recipientList(message.recipient)};
            for (bool again = false;; again = true) {
                Attempt attempt = transfer(outgoing, again);
                if (attempt.mayRetry && !again)
                    continue;
                if (attempt.delivery)
                    return *attempt.delivery;
                error = attempt.error;
                break;
            }
        }
        // A connection that timed out may still bring the late reply and be
        // taken for the next message's: it is never used again.
        abandonConnection();
        throw *error;
    }

    void signOff() override { handle_.reset(); }  // QUIT on the kept connection

private:
    struct Outgoing {
        mail::MailBody body;
        mail::List headers;
        mail::List recipients;
    };

    static mail::List recipientList(const std::string& recipient)
    {
        mail::List recipients;
        mail::append(recipients, recipient);
        return recipients;
    }

    struct Attempt {
        std::optional<MailDelivery> delivery;
        std::optional<RunTimeError> error;
        bool mayRetry = false;
    };

    template <typename Value>
    void set(CURLoption option, Value value)
    {
        mail::check(curl_easy_setopt(handle_.get(), option, value), "setting up libcurl");
    }

    void configure()
    {
        set(CURLOPT_URL, urlOf(account_).c_str());
        set(CURLOPT_PROTOCOLS_STR, "smtp,smtps");
        set(CURLOPT_NOSIGNAL, 1L);
        set(CURLOPT_ERRORBUFFER, errorText_);
        set(CURLOPT_VERBOSE, 1L);  // feeds the debug function, prints nothing
        set(CURLOPT_DEBUGFUNCTION, recordDialogue);
        set(CURLOPT_DEBUGDATA, &dialogue_);
        set(CURLOPT_WRITEFUNCTION, discard);
        set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(account_.connectTimeout.count()));
        set(CURLOPT_SERVER_RESPONSE_TIMEOUT, wholeSeconds(account_.replyTimeout));
        set(CURLOPT_LOW_SPEED_LIMIT, 1L);
        set(CURLOPT_LOW_SPEED_TIME, wholeSeconds(account_.replyTimeout));
        set(CURLOPT_MAXAGE_CONN, ConnectionMaxIdleSeconds);
        set(CURLOPT_UPLOAD_BUFFERSIZE, UploadBufferBytes);
        set(CURLOPT_MAIL_FROM, account_.senderAddress.c_str());
        set(RecipientsMayFail, 1L);
        if (account_.security != MailSecurity::None)
            set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        set(CURLOPT_SSL_VERIFYPEER, 1L);
        set(CURLOPT_SSL_VERIFYHOST, 2L);
        if (!account_.caFile.empty())
            set(CURLOPT_CAINFO, account_.caFile.c_str());
        if (!account_.userName.empty()) {
            set(CURLOPT_USERNAME, account_.userName.c_str());
            set(CURLOPT_PASSWORD, account_.password.c_str());
        }
    }

    void renewHandle()
    {
        mail::EasyHandle handle(curl_easy_init());
        if (!handle)
            throw RunTimeError(CannotCreateObject);
        handle_ = std::move(handle);
        configure();
    }

    // Shut down first, the connection fails libcurl's closing QUIT at once,
    // where a server that stopped answering would make it wait out a second
    // reply timeout.
    void abandonConnection()
    {
        curl_socket_t socket = CURL_SOCKET_BAD;
        if (curl_easy_getinfo(handle_.get(), CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK && socket != CURL_SOCKET_BAD)
            shutdown(socket, SHUT_RDWR);
        renewHandle();
    }

    std::string passwordFromNetrc() const
    {
        std::ifstream file(netrcPath_, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (auto password = mail::netrcPassword(text, account_.server, account_.userName))
            return *password;
        throw RunTimeError(PermissionDenied, "Permission denied (no password for " + account_.userName + " on " +
                                                 account_.server + " in " + netrcPath_ + ")");
    }

    CURLcode perform()
    {
        dialogue_.clear();
        errorText_[0] = '\0';
        return curl_easy_perform(handle_.get());
    }

    // libcurl's words, and the server's when it refused something.
    RunTimeError failure(CURLcode code) const
    {
        std::string detail = errorText_[0] ? errorText_ : curl_easy_strerror(code);
        for (const auto& reply : dialogue_.replies())
            if (reply.code >= 400 && reply.command != "QUIT") {
                detail += "; the server said " + std::to_string(reply.code) + " " + reply.text;
                break;
            }
        return mail::mailError(code, detail);
    }

    Attempt transfer(const Outgoing& outgoing, bool freshConnection)
    {
        set(CURLOPT_MIMEPOST, outgoing.body.mime.get());
        set(CURLOPT_HTTPHEADER, outgoing.headers.get());
        set(CURLOPT_MAIL_RCPT, outgoing.recipients.get());
        set(CURLOPT_FRESH_CONNECT, freshConnection ? 1L : 0L);
        const CURLcode code = perform();
        set(CURLOPT_MIMEPOST, static_cast<curl_mime*>(nullptr));
        set(CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
        set(CURLOPT_MAIL_RCPT, static_cast<curl_slist*>(nullptr));

        long newConnections = 0;
        curl_easy_getinfo(handle_.get(), CURLINFO_NUM_CONNECTS, &newConnections);
        // Sending again is safe only when the message data never began to
        // go out, and only once, over a new connection.
        const bool retryable = newConnections == 0 && !dialogue_.dataBegun();

        Attempt attempt;
        const auto& replies = dialogue_.replies();
        if (code == CURLE_OK) {
            MailDelivery accepted {MailVerdict::Accepted, 250, {}};
            for (const auto& reply : replies)
                if (reply.command == ".")
                    accepted = {MailVerdict::Accepted, reply.code, reply.text};
            attempt.delivery = accepted;
            return attempt;
        }
        for (const auto& reply : replies) {
            if (isRefusalOfMessage(reply)) {
                attempt.delivery = MailDelivery {verdictOfRefusal(reply), reply.code, reply.text};
                attempt.mayRetry = retryable && reply.code == 421;  // the server is closing the connection
                return attempt;
            }
        }
        attempt.error = failure(code);
        attempt.mayRetry = retryable && isConnectionLoss(code);
        return attempt;
    }

    std::string netrcPath_;
    Clock& clock_;
    mail::EasyHandle handle_;
    MailAccount account_;
    mail::SmtpDialogue dialogue_;
    char errorText_[CURL_ERROR_SIZE] = {};
    std::uint32_t sessions_ = 0;
    std::mt19937_64 random_;
};

}  // namespace

std::unique_ptr<MailTransport> makeCurlMailTransport(std::string netrcPath, Clock& clock)
{
    return std::make_unique<CurlMailTransport>(std::move(netrcPath), clock);
}

}  // namespace zlt
