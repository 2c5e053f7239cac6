#include "session/journal_reader.h"

#include <charconv>

#include "platform/core/text.h"

namespace vivarix {

namespace {

constexpr std::size_t chunkSize = 1 << 16;

std::string_view withoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

JournalReader::JournalReader(std::istream& stream) : in(stream) { readHead(); }

void JournalReader::readHead() {
    // A head line, or none after telling what is missing.
    const auto headLine = [&](const char* missing) -> std::optional<std::string_view> {
        std::optional<std::string_view> line = nextLine();
        if (!line && failure.empty()) {
            failure = missing;
            failureLine = lineNumber + 1;
        }
        return line;
    };
    std::optional<std::string_view> line = headLine("empty: not a Vivarix session journal");
    if (!line) return;
    if (line->rfind("vivarix-session ", 0) != 0) return fail("not a Vivarix session journal");
    if (*line != journalHeader)
        return fail("journal format \"" + std::string(line->substr(16, 40)) + "\" is not supported (only 1)");

    if (!(line = headLine("the journal ends before its seed and start lines"))) return;
    const std::string_view seed = line->substr(0, 5);
    if (seed != "seed ") return fail("expected the seed line");
    const std::string_view digits = line->substr(5);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), journalHead.seed);
    if (ec == std::errc::result_out_of_range && digits.find_first_not_of("0123456789") == std::string_view::npos)
        return fail("seed " + std::string(digits) + " is too large");
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || digits.front() == '+')
        return fail("seed \"" + std::string(digits.substr(0, 40)) + "\" is not a decimal number");

    if (!(line = headLine("the journal ends before its start line"))) return;
    if (*line == "start random" || *line == "start empty")
        journalHead.randomNutrient = *line == "start random";
    else
        fail(line->rfind("start ", 0) == 0 ? "expected random or empty" : "expected the start line");
}

void JournalReader::fail(std::string why) {
    if (!failure.empty()) return;
    failure = printableText(why);
    failureLine = lineNumber;
}

std::optional<std::string_view> JournalReader::nextLine() {
    if (!failure.empty()) return std::nullopt;
    for (;;) {
        const std::size_t newline = buffer.find('\n', start);
        if (newline != std::string::npos) {
            const std::string_view line = withoutCarriageReturn(std::string_view(buffer).substr(start, newline - start));
            start = newline + 1;
            ++lineNumber;
            if (line.size() > longestJournalLine) {
                tooLong = line.size();
                fail("the line is " + std::to_string(tooLong) + " characters long, more than " +
                     std::to_string(longestJournalLine));
                return std::nullopt;
            }
            return line;
        }
        if (ended) return std::nullopt;  // nothing more, or a last line cut off while written
        if (buffer.size() - start > longestJournalLine + 1) {
            // Too long already: count the rest of it without keeping it.
            std::size_t length = buffer.size() - start;
            char previous = buffer.back();
            for (;;) {
                buffer.resize(chunkSize);
                in.read(buffer.data(), static_cast<std::streamsize>(chunkSize));
                buffer.resize(static_cast<std::size_t>(in.gcount()));
                start = 0;
                const std::size_t at = buffer.find('\n');
                if (at != std::string::npos) {
                    length += at;
                    if (at > 0) previous = buffer[at - 1];
                    start = at + 1;
                    break;
                }
                length += buffer.size();
                if (!buffer.empty()) previous = buffer.back();
                if (!in) {  // a cut last line, however long, is dropped
                    ended = true;
                    buffer.clear();
                    return std::nullopt;
                }
            }
            ++lineNumber;
            if (previous == '\r') --length;
            tooLong = length;
            fail("the line is " + std::to_string(length) + " characters long, more than " +
                 std::to_string(longestJournalLine));
            return std::nullopt;
        }
        buffer.erase(0, start);
        start = 0;
        const std::size_t kept = buffer.size();
        buffer.resize(kept + chunkSize);
        in.read(buffer.data() + kept, static_cast<std::streamsize>(chunkSize));
        buffer.resize(kept + static_cast<std::size_t>(in.gcount()));
        if (!in) ended = true;
    }
}

std::optional<JournalEntry> JournalReader::next() {
    const std::optional<std::string_view> line = nextLine();
    if (!line) return std::nullopt;
    ParsedLine parsed = parseJournalLine(*line);
    if (!parsed.entry) {
        failure = std::move(parsed.error);  // already printable
        failureLine = lineNumber;
        return std::nullopt;
    }
    if (parsed.entry->tick < lastTick) {
        fail("tick " + std::to_string(parsed.entry->tick) + " comes after tick " + std::to_string(lastTick));
        return std::nullopt;
    }
    lastTick = parsed.entry->tick;
    return std::move(parsed.entry);
}

}  // namespace vivarix
