#pragma once
// Test double of Word's object model: logs each call with its values, in
// order, one line a call, into a log that other doubles may share:
// "create" (the factory), "version", "quit", "release", "visible true",
// "open <name>", "add", "saveAs 1 <name>", "selection", "background <name>",
// and on the selection "bold true", "size 16", "text?" (a read),
// "text <value>" (CR and LF shown as \r and \n), "alignment 1", "endKey",
// "endKey 6 0". A call a test names in `failing` is logged, then throws.
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "engines/notes/word_application.h"

namespace zlt::testing {

class RecordingWordApplication : public WordApplication, public WordSelection {
public:
    // Keyed by the first word of the log line: "open", "saveAs", "text?" ...
    using Failures = std::map<std::string, RunTimeError>;

    RecordingWordApplication(std::vector<std::string>& log, std::string versionText, Failures failing,
                             std::string selectionText)
        : log_(log), version_(std::move(versionText)), failing_(std::move(failing)), selectionText_(std::move(selectionText))
    {
    }

    std::string version() override { call("version"); return version_; }
    void quit() override { call("quit"); }
    void setVisible(bool visible) override { call("visible", visible ? "true" : "false"); }
    void openDocument(const std::string& fileName) override { call("open", fileName); }
    void addDocument() override { call("add"); }
    void saveDocumentAs(int item, const std::string& fileName) override
    {
        call("saveAs", std::to_string(item) + " " + fileName);
    }
    WordSelection& activeWindowSelection() override { call("selection"); return *this; }
    void setBackgroundPicture(const std::string& fileName) override { call("background", fileName); }
    void release() override { call("release"); }

    void setBold(bool bold) override { call("bold", bold ? "true" : "false"); }
    void setSize(double points) override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", points);
        call("size", text);
    }
    std::string text() override { call("text?"); return selectionText_; }
    void setText(const std::string& text) override
    {
        std::string shown;
        for (char c : text)
            shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
        call("text", shown);
    }
    void setAlignment(int alignment) override { call("alignment", std::to_string(alignment)); }
    void endKey() override { call("endKey"); }
    void endKey(int unit, int extend) override { call("endKey", std::to_string(unit) + " " + std::to_string(extend)); }

private:
    void call(const std::string& name, const std::string& values = "")
    {
        log_.push_back(values.empty() ? name : name + " " + values);
        if (const auto failure = failing_.find(name); failure != failing_.end())
            throw failure->second;
    }

    std::vector<std::string>& log_;
    std::string version_;
    Failures failing_;
    std::string selectionText_;
};

// Makes the instances a program creates, each logging "create" first; the
// settings below go to each one made after they are set.
class RecordingWordFactory {
public:
    explicit RecordingWordFactory(std::vector<std::string>& log) : log_(log) {}

    std::optional<RunTimeError> creationFailure;
    std::string versionText = "9.0";
    RecordingWordApplication::Failures failing;
    std::string selectionText;  // what the selection's Text reads as

    std::unique_ptr<WordApplication> create()
    {
        log_.push_back("create");
        if (creationFailure)
            throw *creationFailure;
        return std::make_unique<RecordingWordApplication>(log_, versionText, failing, selectionText);
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace zlt::testing
