#pragma once
// Test double of the common dialog: each Show takes the next answer a test
// queued (a file name, OK, or Cancel) and remembers the method and every
// property as they were when the dialog opened.
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/common_dialog.h"

namespace zlt::testing {

class ScriptedDialog : public CommonDialog {
public:
    struct Shown {
        std::string method;  // "open", "save" or "printer"
        std::string fileName, filter, dialogTitle;
        long flags;
        bool printerDefault;
        int copies;
    };
    std::vector<Shown> shown;

    // The user picks or types this name (Open, Save As).
    void answerFile(std::string name) { answers_.push_back({Answer::File, std::move(name)}); }
    // The user presses OK without changing anything (printer dialogs).
    void answerOk() { answers_.push_back({Answer::Ok, {}}); }
    void answerCancel() { answers_.push_back({Answer::Cancel, {}}); }
    bool showOpen() override { return show("open"); }
    bool showSave() override { return show("save"); }
    bool showPrinter() override { return show("printer"); }

private:
    struct Answer {
        enum Kind { File, Ok, Cancel } kind;
        std::string fileName;
    };

    bool show(const char* method)
    {
        shown.push_back({method, fileName, filter, dialogTitle, flags, printerDefault, copies});
        if (answers_.empty())
            throw std::logic_error(std::string("ScriptedDialog: no answer queued for Show ") + method);
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        if (answer.kind == Answer::Cancel)
            return false;
        if (answer.kind == Answer::File)
            fileName = answer.fileName;
        return true;
    }

    std::deque<Answer> answers_;
};

}  // namespace zlt::testing
