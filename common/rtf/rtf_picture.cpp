#include "common/rtf/rtf_picture.h"

#include <algorithm>

#include "platform/run_time_error.h"

namespace zlt::rtf {

namespace {

constexpr int TwipsPerPixel = 15;          // at 96 pixels an inch
constexpr double HundredthsMmPerPixel = 2540.0 / 96;
constexpr std::size_t HexPerLine = 128;

int bigEndian16(const std::string& bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]) << 8 | static_cast<unsigned char>(bytes[at + 1]);
}

bool isFrameHeader(unsigned char marker)
{
    // SOF0 to SOF15, less DHT, JPG and DAC, which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

Picture jpegPicture(std::string bytes)
{
    const RunTimeError invalid(error_number::InvalidPicture, "Invalid picture: not a JPEG file");
    if (bytes.size() < 4 || bytes.compare(0, 2, "\xFF\xD8") != 0)
        throw invalid;
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF)
            throw invalid;
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)  // end of image or scan data before any frame header
            break;
        const int length = bigEndian16(bytes, at + 2);
        if (isFrameHeader(marker)) {
            if (length < 7 || at + 9 > bytes.size())
                break;
            Picture picture;
            picture.heightPixels = bigEndian16(bytes, at + 5);
            picture.widthPixels = bigEndian16(bytes, at + 7);
            if (picture.widthPixels == 0 || picture.heightPixels == 0)
                break;
            picture.jpeg = std::move(bytes);
            return picture;
        }
        if (length < 2)
            break;
        at += 2 + static_cast<std::size_t>(length);
    }
    throw invalid;
}

std::string backgroundHeader(const Picture& picture, const Paper& paper)
{
    static const char digits[] = "0123456789abcdef";
    const auto hundredthsMm = [](int pixels) { return std::to_string(static_cast<int>(pixels * HundredthsMmPerPixel + 0.5)); };
    const int pageWidth = paper.widthTwips(), pageHeight = paper.heightTwips();
    const double scale = std::min(static_cast<double>(pageWidth) / picture.widthPixels,
                                  static_cast<double>(pageHeight) / picture.heightPixels);
    const int width = static_cast<int>(picture.widthPixels * scale + 0.5);
    const int height = static_cast<int>(picture.heightPixels * scale + 0.5);
    const int left = (pageWidth - width) / 2, top = (pageHeight - height) / 2;
    std::string out = "{\\header\\pard\\plain{\\shp{\\*\\shpinst\\shpleft" + std::to_string(left) + "\\shptop" +
                      std::to_string(top) + "\\shpright" + std::to_string(left + width) + "\\shpbottom" +
                      std::to_string(top + height) +
                      "\\shpfhdr1\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0\\shpfblwtxt1\\shpz0"
                      "\\shplid1025{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn fBehindDocument}{\\sv 1}}"
                      "{\\sp{\\sn posrelh}{\\sv 1}}{\\sp{\\sn posrelv}{\\sv 1}}{\\sp{\\sn fLayoutInCell}{\\sv 1}}"
                      "{\\sp{\\sn pib}{\\sv {\\pict\\picscalex100\\picscaley100\\picw" +
                      hundredthsMm(picture.widthPixels) + "\\pich" + hundredthsMm(picture.heightPixels) + "\\picwgoal" +
                      std::to_string(picture.widthPixels * TwipsPerPixel) + "\\pichgoal" +
                      std::to_string(picture.heightPixels * TwipsPerPixel) + "\\jpegblip\r\n";
    out.reserve(out.size() + picture.jpeg.size() * 2 + picture.jpeg.size() / 32 + 64);
    std::size_t onLine = 0;
    for (const char c : picture.jpeg) {
        const auto byte = static_cast<unsigned char>(c);
        out += digits[byte >> 4];
        out += digits[byte & 15];
        if ((onLine += 2) == HexPerLine) {
            out += "\r\n";
            onLine = 0;
        }
    }
    out += "}}}}}\\par}\r\n";
    return out;
}

}  // namespace zlt::rtf
