#pragma once
// The bytes of a property list as the scan's XML reader gets them: long
// runs of plain text inside <string> and <data> shortened.
//
// Qt's stream reader holds the whole text of an element, as UTF-16, until
// the element ends: a document with a 250 MB picture or string would take
// twice its size again for text the scan does not keep. The scan only
// checks that such text is well formed, and a run of letters, digits,
// "+", "/", "=" and blank space is: all but its start is left out. Line
// and column numbers of later faults are given as in the file itself.

#include <QByteArray>
#include <QIODevice>

#include <vector>

namespace gelcoat {

class PlistScanInput : public QIODevice {
public:
    explicit PlistScanInput(const QByteArray& xml);

    bool isSequential() const override { return true; }

    // A position the reader reported (line from 1, column from 0) as it
    // lies in the file.
    void toFilePosition(qint64* line, qint64* column) const;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum class State { Content, TagName, Tag, Comment, Cdata, Instruction };

    // Where text was left out: its place in what the reader got, and where
    // the reader's text resumes in the file.
    struct Skip {
        qint64 line, column;
        qint64 fileLine, fileColumn;
    };

    void advance(char c);
    void track(char c, qint64& line, qint64& column, bool& afterCr) const;
    qint64 inertRunLength(qsizetype from) const;
    bool endsWith(const char* text) const;

    QByteArray xml_;
    qsizetype next_ = 0;
    State state_ = State::Content;
    QByteArray tagName_;
    bool inShortenable_ = false;   // content of <string> or <data>
    qint64 line_ = 1, column_ = 0, fileLine_ = 1, fileColumn_ = 0;
    bool afterCr_ = false, fileAfterCr_ = false;
    std::vector<Skip> skips_;
};

} // namespace gelcoat
