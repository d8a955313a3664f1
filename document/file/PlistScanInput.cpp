#include "document/file/PlistScanInput.h"

#include <algorithm>
#include <cstring>

namespace gelcoat {

namespace {

// Shorter runs are passed on whole; a longer one keeps this many bytes.
constexpr qint64 kKeptRunBytes = 64;

bool isInert(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '+' || c == '/' || c == '=' || c == ' ' || c == '\t' || c == '\n';
}

} // namespace

PlistScanInput::PlistScanInput(const QByteArray& xml) : xml_(xml)
{
    open(QIODevice::ReadOnly);
}

// Lines and columns counted as the reader counts them: CR, LF and CR LF
// end a line; a column is a UTF-16 unit.
void PlistScanInput::track(char c, qint64& line, qint64& column, bool& afterCr) const
{
    const auto u = static_cast<unsigned char>(c);
    if (c == '\n' && afterCr) {
        afterCr = false;
        return;
    }
    afterCr = c == '\r';
    if (c == '\n' || c == '\r') {
        ++line;
        column = 0;
    } else if ((u & 0xC0) != 0x80) {
        column += u >= 0xF0 ? 2 : 1;
    }
}

bool PlistScanInput::endsWith(const char* text) const
{
    const qsizetype n = qsizetype(std::strlen(text));
    return next_ >= n && std::memcmp(xml_.constData() + next_ - n, text, size_t(n)) == 0;
}

// Markup is followed only as far as telling element content from the
// inside of tags, comments, CDATA sections and processing instructions.
void PlistScanInput::advance(char c)
{
    switch (state_) {
    case State::Content:
        if (c == '<') {
            state_ = State::TagName;
            tagName_.clear();
            inShortenable_ = false;
        }
        break;
    case State::TagName:
        if (endsWith("<!--"))
            state_ = State::Comment;
        else if (endsWith("<![CDATA["))
            state_ = State::Cdata;
        else if (tagName_.isEmpty() && c == '?')
            state_ = State::Instruction;
        else if (c == '>')
            state_ = State::Content, inShortenable_ = tagName_ == "string" || tagName_ == "data";
        else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '/')
            state_ = State::Tag;
        else if (tagName_.size() < 8)
            tagName_ += c;
        else
            tagName_ = "-";   // no name of interest is this long
        break;
    case State::Tag:
        if (c == '>')
            state_ = State::Content,
            inShortenable_ = (tagName_ == "string" || tagName_ == "data") && !endsWith("/>");
        break;
    case State::Comment:
        if (endsWith("-->"))
            state_ = State::Content;
        break;
    case State::Cdata:
        if (endsWith("]]>"))
            state_ = State::Content;
        break;
    case State::Instruction:
        if (endsWith("?>"))
            state_ = State::Content;
        break;
    }
}

qint64 PlistScanInput::inertRunLength(qsizetype from) const
{
    qsizetype end = from;
    while (end < xml_.size() && isInert(xml_[end]))
        ++end;
    return end - from;
}

qint64 PlistScanInput::readData(char* data, qint64 maxSize)
{
    qint64 written = 0;
    while (written < maxSize && next_ < xml_.size()) {
        const char c = xml_[next_];
        if (state_ == State::Content && inShortenable_ && isInert(c)) {
            const qint64 run = inertRunLength(next_);
            const qint64 kept = std::min(run, kKeptRunBytes);
            const qint64 count = std::min(kept, maxSize - written);
            for (qint64 i = 0; i < count; ++i) {
                data[written++] = xml_[next_ + i];
                track(xml_[next_ + i], line_, column_, afterCr_);
                track(xml_[next_ + i], fileLine_, fileColumn_, fileAfterCr_);
            }
            next_ += count;
            if (count < kept)
                break;   // the rest of the kept start goes with the next read
            if (run > kept) {
                for (qsizetype i = next_; i < next_ + (run - kept); ++i)
                    track(xml_[i], fileLine_, fileColumn_, fileAfterCr_);
                next_ += run - kept;
                skips_.push_back({line_, column_, fileLine_, fileColumn_});
            }
            continue;
        }
        data[written++] = c;
        track(c, line_, column_, afterCr_);
        track(c, fileLine_, fileColumn_, fileAfterCr_);
        ++next_;
        advance(c);
    }
    return written;
}

void PlistScanInput::toFilePosition(qint64* line, qint64* column) const
{
    // The last skip at or before the position.
    const auto after = std::upper_bound(skips_.begin(), skips_.end(), std::pair(*line, *column),
                                        [](const std::pair<qint64, qint64>& p, const Skip& s) {
                                            return p < std::pair(s.line, s.column);
                                        });
    if (after == skips_.begin())
        return;
    const Skip& skip = *(after - 1);
    if (*line == skip.line) {
        *column = skip.fileColumn + (*column - skip.column);
        *line = skip.fileLine;
    } else {
        *line += skip.fileLine - skip.line;
    }
}

} // namespace gelcoat
