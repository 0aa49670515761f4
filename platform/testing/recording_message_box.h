#pragma once
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace zlt::testing {

// Test double of the message box: remembers each box shown.
class RecordingMessageBox : public MessageBox {
public:
    struct Box {
        std::string title;
        std::string text;
    };
    std::vector<Box> shown;
    void show(const std::string& title, const std::string& text) override { shown.push_back({title, text}); }
};

}  // namespace zlt::testing
