#pragma once
// Test double of the printer: remembers every call, in order, as a short
// line such as "font Courier New", "size 10", "text A", "begin".
#include <string>
#include <vector>

#include "platform/print/printer.h"

namespace zlt::testing {

class RecordingPrinter : public Printer {
public:
    explicit RecordingPrinter(std::vector<std::string> fonts = {"Courier New", "Arial"}) : fonts_(std::move(fonts)) {}

    std::vector<std::string> calls;

    int fontCount() override { return static_cast<int>(fonts_.size()); }
    std::string fontName(int index) override { return fonts_.at(static_cast<size_t>(index)); }
    void setFontName(const std::string& name) override { record("font " + name); }
    void setFontSize(double points) override { record("size " + number(points)); }
    void setBold(bool on) override { record(std::string("bold ") + (on ? "on" : "off")); }
    void setItalic(bool on) override { record(std::string("italic ") + (on ? "on" : "off")); }
    void setUnderline(bool on) override { record(std::string("underline ") + (on ? "on" : "off")); }
    void setStrikethrough(bool on) override { record(std::string("strikethrough ") + (on ? "on" : "off")); }
    void setColour(HostColour colour) override { record("colour " + std::to_string(colour)); }
    void printText(std::string_view text) override { record("text " + std::string(text)); }
    void printLine(std::string_view text) override { record("line " + std::string(text)); }
    void beginDocument() override { record("begin"); }
    void endDocument() override { record("end"); }
    void abandonDocument() override { record("abandon"); }

    // The calls from the first "begin" on, texts of consecutive "text" calls
    // joined: what a reader of the engine's output cares about.
    std::vector<std::string> merged() const
    {
        std::vector<std::string> out;
        for (const std::string& call : calls) {
            if (call.rfind("text ", 0) == 0 && !out.empty() && out.back().rfind("text ", 0) == 0)
                out.back() += call.substr(5);
            else
                out.push_back(call);
        }
        return out;
    }

private:
    void record(std::string call) { calls.push_back(std::move(call)); }
    static std::string number(double v)
    {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (!s.empty() && s.back() == '.')
            s.pop_back();
        return s;
    }
    std::vector<std::string> fonts_;
};

}  // namespace zlt::testing
