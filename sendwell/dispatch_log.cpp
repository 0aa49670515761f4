#include "sendwell/dispatch_log.h"

#include <algorithm>
#include <cstdio>

#include "sendwell/sign_padded.h"

namespace zlt::sendwell {

std::string logTimeStamp(const LocalTime& time)
{
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d, %02d:%02d:%02d %s", time.day % 100, time.month % 100,
                  time.year % 100, hour12, time.minute % 100, time.second % 100, time.hour < 12 ? "am" : "pm");
    std::string stamp = text;
    stamp.resize(std::max<size_t>(stamp.size(), 25), ' ');
    return stamp;
}

std::string countCaption(int mailIndex, int mailCount)
{
    if (mailIndex == 0)
        return "Preparing to process" + signPadded(mailCount) + " mail file";
    return "Processing mail file" + signPadded(mailIndex) + " of" + signPadded(mailCount);
}

void DispatchLog::start()
{
    file_ = files_.openWrite(path_, WriteMode::Append);
}

void DispatchLog::status(const std::string& hostText)
{
    // One write of the whole line at the end: a reader of the log never
    // sees half of it. The line is not synced: ten syncs a message would
    // make the log, not the server, what limits the rate; the record of
    // sent messages is what must survive a crash, and it is synced.
    if (!file_)
        start();
    file_->write(logTimeStamp(clock_.now()) + hostText + "\r\n");
    window_.setStatus(codePage_.toUtf8(hostText));
    window_.setCount(countCaption(mailIndex_, mailCount_));
    window_.processEvents();
}

}  // namespace zlt::sendwell
