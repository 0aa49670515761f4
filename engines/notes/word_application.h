#pragma once
// The word processor as the notes program drives it: the members of Word's
// automation object model it uses, by their own names. Texts handed over and
// read back are host bytes (the host's code page); paths are as the host
// gave them. Every failure is a RunTimeError; WordDocumentNotFound (5174)
// is the one number a caller tells apart.
#include <string>

namespace zlt {

namespace word {
// ParagraphFormat.Alignment
constexpr int AlignParagraphLeft = 0;
constexpr int AlignParagraphCenter = 1;
constexpr int AlignParagraphRight = 2;
// EndKey's Unit and Extend
constexpr int Line = 5;
constexpr int Story = 6;
constexpr int Move = 0;
constexpr int Extend = 1;
}  // namespace word

// ActiveWindow.Selection: the insertion point, or the text it covers.
class WordSelection {
public:
    virtual ~WordSelection() = default;
    virtual void setBold(bool bold) = 0;        // Font.Bold
    virtual void setSize(double points) = 0;    // Font.Size
    virtual std::string text() = 0;             // Text; paragraph marks read as CR
    virtual void setText(const std::string& text) = 0;
    virtual void setAlignment(int alignment) = 0;  // ParagraphFormat.Alignment
    virtual void endKey() = 0;                     // EndKey: to the end of the line
    virtual void endKey(int unit, int extend) = 0;
};

class WordApplication {
public:
    virtual ~WordApplication() = default;
    virtual std::string version() = 0;  // Version, "9.0"
    virtual void quit() = 0;            // Quit
    virtual void setVisible(bool visible) = 0;
    virtual void openDocument(const std::string& fileName) = 0;  // Documents.Open FileName:=
    virtual void addDocument() = 0;                              // Documents.Add
    virtual void saveDocumentAs(int item, const std::string& fileName) = 0;  // Documents.Item(item).SaveAs
    // The selection lives as long as the application.
    virtual WordSelection& activeWindowSelection() = 0;                  // ActiveWindow.Selection
    virtual void setBackgroundPicture(const std::string& fileName) = 0;  // ActiveDocument.Background.Fill.UserPicture
    // The program lets go of the object: a visible application stays open
    // for the user with its document, a quit one is gone.
    virtual void release() = 0;
};

}  // namespace zlt
