// Reading a session journal as a stream: one entry at a time, so that a journal of
// any length costs a line's worth of memory.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

#include "session/journal_text.h"

namespace vivarix {

class JournalReader {
public:
    // Reads the head from `in`, which must outlive the reader.  A journal whose
    // head is broken is refused at once: see error().
    explicit JournalReader(std::istream& in);
    JournalReader(const JournalReader&) = delete;
    JournalReader& operator=(const JournalReader&) = delete;

    const JournalHead& head() const { return journalHead; }

    // The next entry in file order.  None at the end of the journal, where a last
    // line without its "\n" (a program killed while writing it) is dropped, or at a
    // broken line: then error() says what is wrong and errorLine() where.  A tick
    // smaller than the one before it is an error too.  Lines may end in "\r\n".
    std::optional<JournalEntry> next();

    // Empty while the journal is sound; else what is wrong, with the bytes that are
    // not printable escaped.
    const std::string& error() const { return failure; }
    std::size_t errorLine() const { return failureLine; }
    // The line number of the entry next() returned last (the head is lines 1 to 3).
    std::size_t line() const { return lineNumber; }

private:
    void readHead();
    // The next whole line without its line end, valid until the next call; none at
    // the end, or when the line is longer than longestJournalLine (then `tooLong`
    // holds its length).
    std::optional<std::string_view> nextLine();
    void fail(std::string why);

    std::istream& in;
    std::string buffer;       // read ahead from `in`
    std::size_t start = 0;    // the unread part of buffer begins here
    bool ended = false;       // `in` has nothing more
    std::size_t tooLong = 0;
    JournalHead journalHead;
    std::size_t lineNumber = 0;
    std::uint64_t lastTick = 0;
    std::string failure;
    std::size_t failureLine = 0;
};

}  // namespace vivarix
