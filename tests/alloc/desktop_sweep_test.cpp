// Running out of memory anywhere the desktop program allocates in a pass.
//
// A scripted session of the real start-up and main loop (placements, feeding, the
// Auto trackbar, fast-forward, single steps, following a creature until it dies,
// New Vivarix while creatures live, the journal recorded to a file) runs twice.
// The first run numbers every allocation its passes make through operator new
// (failing_new.h) and notes where each happens and what the reference state is
// after every pass.  The second run stops at the start of every swept pass and
// forks one child per allocation of that pass, in which that allocation fails;
// the child runs on for a few passes and checks that
//   - nothing crashes and no exception leaves the pass;
//   - the failure was told, by exactly one of the boxes a failure may give: the
//     no-memory box ("Fehler!"), the journal's end, the chart's message; or by
//     none, and then nothing differs from the reference run;
//   - after every pass the lists are well linked, kindCount is their census and
//     the grids agree with the list;
//   - the journal still replays: a journal that ended is the reference journal up
//     to a line (which replays verified), a journal that goes on after a session
//     that parted from the reference replays verified itself (vivarix-lab
//     --replay), and the recording holds what the journal holds.
// The list appends (AllocationFaults) of the same passes are swept the same way:
// the first, middle and last append of each list in a pass.
#include <execinfo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "alloc/failing_new.h"
#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/population_watch.h"
#include "app/startup.h"
#include "lab_run.h"
#include "session/control_table.h"
#include "sim/creature_text.h"
#include "support/program_invariants.h"
#include "support/program_run.h"
#include "support/scripted_desktop.h"
#include "support/tiny_plate.h"

namespace vivarix::test {
namespace {

constexpr std::uint64_t seed = 20260311;
constexpr std::size_t runOn = 3;  // passes a child runs after the one that fails

// The scripted desktop, with its own bookkeeping (recording titles, messages and
// charts) left out of the count: only the program's allocations are swept.
class UncountedDesktop final : public ScriptedDesktop {
public:
    void setWindowTitle(std::int32_t w, std::string_view t) override {
        DoNotCount own;
        ScriptedDesktop::setWindowTitle(w, t);
    }
    void messageBox(std::string_view title, std::string_view text) override {
        DoNotCount own;
        ScriptedDesktop::messageBox(title, text);
    }
    void showPopulation(const PopulationChart& chart) override {
        DoNotCount own;
        ScriptedDesktop::showPopulation(chart);
    }
    void setControlState(std::int32_t number, std::int32_t value) override {
        DoNotCount own;
        ScriptedDesktop::setControlState(number, value);
    }
};

// Each reading moves the clock on by 10 ms, so that runs repeat exactly.
class TenMsClock final : public MillisecondClock {
public:
    std::uint32_t ms = 0;
    std::uint32_t now() override { return ms += 10; }
};

// --- the session ------------------------------------------------------------------

enum class Do { nothing, click, key, control, autoTo, rightDown, rightUp, followFirst };

struct Act {
    Do what = Do::nothing;
    std::int32_t a = 0, b = 0;  // where (x, y); or the shortcut, control or position
    bool swept = true;          // swept whatever the reference run shows
};

std::vector<Act> session() {
    std::vector<Act> s;
    auto add = [&](Do what, std::int32_t a = 0, std::int32_t b = 0, bool swept = true) {
        s.push_back({what, a, b, swept});
    };
    // Ten creatures close together, five of each kind, the statistics on.
    for (std::int32_t i = 0; i < 10; ++i) {
        if (i == 5) add(Do::key, shortcut::kind1);
        add(Do::click, 214 + 8 * (i % 5), 222 + 8 * (i / 5));
    }
    add(Do::key, shortcut::stats);
    add(Do::rightDown, 240, 300);
    add(Do::nothing);
    add(Do::rightUp);
    add(Do::autoTo, 25);
    // Fast-forward: the pass that takes F runs at the new speed; 1,000 ticks at x64.
    for (int i = 0; i < 3; ++i) add(Do::key, shortcut::speed);
    for (int i = 0; i < 16; ++i) add(Do::nothing, 0, 0, i < 2);
    // Back to one tick a pass while paused (no pass runs at the clock's speed), and
    // single steps.
    add(Do::key, shortcut::pause);
    add(Do::key, shortcut::speed);
    add(Do::key, shortcut::speed);
    for (int i = 0; i < 3; ++i) add(Do::key, shortcut::step);
    add(Do::key, shortcut::pause);
    add(Do::key, shortcut::stats);
    // Following the oldest creature until it dies; swept where the reference shows
    // something worth it (see sweptPasses).
    add(Do::followFirst);
    for (int i = 0; i < 400; ++i) add(Do::nothing, 0, 0, false);
    // x16 past tick 2,000, then New Vivarix while creatures live.
    add(Do::key, shortcut::speed);
    add(Do::key, shortcut::speed);
    for (int i = 0; i < 40; ++i) add(Do::nothing, 0, 0, false);
    add(Do::control, control::newPlateButton);
    for (int i = 0; i < 2; ++i) add(Do::nothing);
    return s;
}

struct Program {
    explicit Program(const std::filesystem::path& recording) {
        EXPECT_TRUE(startUp(*state, desktop, text, seed));
        state->passClock = &clock;
        EXPECT_TRUE(startRecording(state->session, recording.string()));
        desktop.queue(event::shortcut, shortcut::population);
        EXPECT_TRUE(runPass(*state, desktop));
    }

    // The act's event, then one pass with the program's allocations counted.
    // Returns what went wrong: "" when nothing did.
    std::string pass(const Act& act, AllocationCount& count) {
        AppState& s = *state;
        switch (act.what) {
        case Do::nothing: break;
        case Do::click: desktop.movePointer(act.a, act.b); desktop.queue(event::leftDown); break;
        case Do::key: desktop.queue(event::shortcut, act.a); break;
        case Do::control: desktop.queue(event::control, act.a); break;
        case Do::autoTo:
            desktop.controls().setControlState(control::autoTrackbar, act.a);
            desktop.queue(event::control, control::autoTrackbar);
            break;
        case Do::rightDown: desktop.movePointer(act.a, act.b); desktop.queue(event::rightDown); break;
        case Do::rightUp: desktop.queue(event::rightUp); break;
        case Do::followFirst:
            if (const Creature* c = s.creatureList.front()) desktop.movePointer(c->x, c->y);
            desktop.queue(event::middleDown);
            break;
        }
        try {
            CountAllocations counting(count);
            if (!runPass(s, desktop)) return "the pass ended the program";
        } catch (const std::exception& e) {
            return std::string("an exception left the pass: ") + e.what();
        }
        return {};
    }

    UncountedDesktop desktop;
    NoTextRenderer text;
    TenMsClock clock;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
};

// --- what must hold after every pass ---------------------------------------------

// The cells off the plate, as the first plate was laid out: every plate has them.
std::vector<bool> offPlate(const SimState& s) {
    std::vector<bool> off;
    for (const std::int16_t cell : s.plateGrid.cells) off.push_back(cell == -1);
    return off;
}

// What every pass leaves (stateProblems), and more: every creature stands on a
// cell its step marked (all but the first, which a death at the front lets the
// step pass over) and the plate keeps its shape.
std::string brokenInvariants(const AppState& s, const std::vector<bool>& off) {
    std::string broken = stateProblems(s);
    for (std::size_t i = 0; i < off.size(); ++i)
        if ((s.plateGrid.cells[i] == -1) != off[i] || s.plateGrid.cells[i] < -1) {
            broken += "the plate changed its shape; ";
            break;
        }
    for (const Creature* c = s.creatureList.front(); c; c = CreatureList::after(c))
        if (c != s.creatureList.front() && cellAt(s.creatureGrid, c->x, c->y) == 0)
            broken += "a creature on an unmarked cell; ";
    return broken;
}

// --- the reference run --------------------------------------------------------------

// Where an allocation happens, from the exported function names on its stack (the
// binary exports them): the first site of this list that any of them names.
std::string siteOf(char** frames, int count) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> sites = {
        {"list element", {"unusedNode"}},
        {"opponent search", {"firstOtherOnCell"}},
        {"occupancy index", {"OccupancyStep", "growOccupancyTable"}},
        {"journal", {"journalLine", "creaturesHash", "creaturesText", "takeInput", "runSessionTick",
                     "startRecording", "saveJournal"}},
        {"population history", {"sampleFrame", "noteTick", "clearHistory"}},
        {"population chart", {"populationChart", "historyColumns", "refreshPopulationWindow"}},
        {"frame", {"renderFrame", "drawMagnifierView", "drawColourStats", "drawLegend"}},
        {"window title", {"mainWindowTitle"}},
        {"event", {"handleControlEvent", "handleShortcutEvent", "handleMiddleClick", "labelText"}},
    };
    for (const auto& [site, names] : sites)
        for (int f = 1; f < count; ++f)
            for (const std::string& name : names)
                if (std::string(frames[f]).find(name) != std::string::npos) return site;
    return "elsewhere";
}

struct PassRecord {
    std::int64_t firstAllocation = 0;  // this pass's allocations: firstAllocation .. lastAllocation
    std::int64_t lastAllocation = -1;
    std::int64_t creatureAppends = 0;  // list appends of the pass
    std::int64_t repaintAppends = 0;
    std::string creatures;             // creaturesHash after the pass
    std::array<std::int32_t, 3> kindCount{};
    std::size_t journalSize = 0;       // the journal's length after the pass
    std::vector<std::string> situations;  // what the pass did that the sweep is after
};

struct Reference {
    std::vector<Act> acts = session();
    std::vector<PassRecord> passes;
    std::vector<std::string> sites;  // of allocation k at [k - 1]
    std::string journal;             // saved at the end
    std::vector<bool> offPlate;
    Outcome replay;                  // of the saved journal
};

const Reference& reference() {
    static const Reference ref = [] {
        Reference r;
        const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                          ("vivarix-alloc-reference-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Program p(dir / "recording.vxs");
        AppState& s = *p.state;
        r.offPlate = offPlate(s);
        AllocationCount count;
        count.onCount = [&] {
            void* frames[32];
            const int n = backtrace(frames, 32);
            char** names = backtrace_symbols(frames, n);
            r.sites.push_back(names ? siteOf(names, n) : "elsewhere");
            std::free(names);
        };
        AllocationFaults creatureAppends, repaintAppends;  // they fail none: they count
        s.creatureList.setAllocationFaults(&creatureAppends);
        s.nutriumList.setAllocationFaults(&repaintAppends);
        for (const Act& act : r.acts) {
            PassRecord record;
            record.firstAllocation = count.counted + 1;
            const std::uint64_t ticks = s.session.ticks;
            const bool following = s.followed != nullptr;
            creatureAppends.failRequest(0);
            repaintAppends.failRequest(0);
            const std::string wrong = p.pass(act, count);
            EXPECT_EQ(wrong, "");
            record.lastAllocation = count.counted;
            record.creatureAppends = creatureAppends.requests();
            record.repaintAppends = repaintAppends.requests();
            record.creatures = creaturesHash(s.creatureList);
            record.kindCount = s.kindCount;
            record.journalSize = s.session.journal.text.size();
            if (s.session.ticks > ticks + 1) record.situations.push_back("a pass of many ticks");
            if (act.what == Do::control) record.situations.push_back("New Vivarix");
            if (following && !s.followed && act.what != Do::control) record.situations.push_back("a death");
            if (s.session.ticks / journalCheckpointTicks != ticks / journalCheckpointTicks)
                record.situations.push_back("a checkpoint");
            r.passes.push_back(record);
        }
        EXPECT_TRUE(saveJournal(s, s.session, (dir / "saved.vxs").string()));
        r.journal = s.session.journal.text;
        r.replay = runMain(lab::labMain, "vivarix-lab", {"--replay", (dir / "saved.vxs").string()});
        std::filesystem::remove_all(dir);
        return r;
    }();
    return ref;
}

// The passes the sweeps fail allocations in: those the session marks, and those
// in which the reference run searched for an opponent, grew the occupancy index,
// saw the followed creature die, wrote a checkpoint or started a new plate.
std::vector<std::size_t> sweptPasses() {
    const Reference& r = reference();
    std::vector<std::size_t> passes;
    for (std::size_t i = 0; i < r.passes.size(); ++i) {
        const PassRecord& p = r.passes[i];
        bool swept = r.acts[i].swept;
        for (const std::string& s : p.situations) swept = swept || s != "a pass of many ticks";
        for (std::int64_t k = p.firstAllocation; k <= p.lastAllocation; ++k)
            swept = swept || r.sites[static_cast<std::size_t>(k - 1)] == "opponent search" ||
                    r.sites[static_cast<std::size_t>(k - 1)] == "occupancy index";
        if (swept) passes.push_back(i);
    }
    return passes;
}

// --- a failing run ------------------------------------------------------------------

// Runs `child` in a forked process; returns its report ("" when all is well), or
// how it ended when that was not normally.
std::string inChild(const std::function<std::string()>& child) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return "no fork";
    if (pid == 0) {
        ::close(fds[0]);
        std::string report;
        try {
            report = child();
        } catch (const std::exception& e) {
            report = std::string("an exception: ") + e.what();
        }
        for (std::size_t done = 0; done < report.size();) {
            const ssize_t n = ::write(fds[1], report.data() + done, report.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);  // no exit handlers: they are the parent's
    }
    ::close(fds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) report += " [the run ended by signal " + std::to_string(WTERMSIG(status)) + "]";
    return report;
}

// What a failing run is told, in the order shown.
enum class Told { nothing, noMemoryBox, journalEnd, noMemoryBoxAndJournalDetour, chartMessage, other };

Told toldBy(const std::vector<std::pair<std::string, std::string>>& shown) {
    auto is = [&](std::size_t i, const char* title, const char* text) {
        return shown[i].first == title && shown[i].second == text;
    };
    if (shown.empty()) return Told::nothing;
    if (shown.size() == 1 && is(0, noMemoryTitle, noMemoryText)) return Told::noMemoryBox;
    if (shown.size() == 1 && is(0, "Vivarix", journalNoMemoryText)) return Told::journalEnd;
    if (shown.size() == 1 && is(0, "Vivarix", chartNoMemoryText)) return Told::chartMessage;
    if (shown.size() == 2 && is(0, noMemoryTitle, noMemoryText) && is(1, "Vivarix", journalDetourText))
        return Told::noMemoryBoxAndJournalDetour;
    return Told::other;
}

// How the failure is made: allocation number k, or list append k of the pass.
struct Failure {
    enum class Of { allocation, creatureAppend, repaintAppend } of = Of::allocation;
    std::int64_t k = 0;
};

// What a failing run reports: how it was told, whether its journal had to be
// replayed, and the problems it found ("" for none).
struct Report {
    Told told = Told::other;
    bool replayed = false;
    std::string problems;
};

std::string reportText(const Report& r) {
    return std::to_string(static_cast<int>(r.told)) + (r.replayed ? "r" : "-") + r.problems;
}

Report reportOf(const std::string& text) {
    if (text.size() < 2 || text[0] < '0' || text[0] > '9')
        return {Told::other, false, text.empty() ? "no report" : text};
    return {static_cast<Told>(text[0] - '0'), text[1] == 'r', text.substr(2)};
}

// In the child, forked at the start of pass `first`: fails `failure`, runs on and
// checks (see the top of the file).
Report runFailing(Program& p, std::size_t first, Failure failure, AllocationCount& count,
                  const std::filesystem::path& dir) {
    const Reference& ref = reference();
    AppState& s = *p.state;
    // The recording's file is the parent's: the child records to a copy of its own.
    s.session.journal.recording.reset();
    const std::filesystem::path recording = dir / "child.vxs";
    if (!startRecording(s.session, recording.string())) return {Told::other, false, "no recording of its own"};
    const std::size_t shownBefore = p.desktop.messages.size();
    AllocationFaults faults;
    if (failure.of == Failure::Of::allocation) count.failAt = failure.k;
    if (failure.of == Failure::Of::creatureAppend) s.creatureList.setAllocationFaults(&faults);
    if (failure.of == Failure::Of::repaintAppend) s.nutriumList.setAllocationFaults(&faults);
    faults.failRequest(failure.of == Failure::Of::allocation ? 0 : failure.k);

    Report report;
    std::string& problems = report.problems;
    const std::size_t last = std::min(first + runOn, ref.acts.size() - 1);
    for (std::size_t i = first; i <= last && problems.empty(); ++i) {
        problems += p.pass(ref.acts[i], count);
        problems += brokenInvariants(s, ref.offPlate);
        if (i == first && (failure.of == Failure::Of::allocation ? count.counted : faults.requests()) < failure.k)
            problems += "the failing allocation was not reached; ";
    }
    if (!problems.empty()) return report;

    const PassRecord& after = ref.passes[last];
    const std::string& journal = s.session.journal.text;
    const bool sameRun = creaturesHash(s.creatureList) == after.creatures && s.kindCount == after.kindCount;
    const bool sameJournal = journal == ref.journal.substr(0, after.journalSize);
    const bool journalIsAPrefix = s.session.journal.ended && !journal.empty() && journal.back() == '\n' &&
                                  ref.journal.compare(0, journal.size(), journal) == 0;
    if (readFile(recording) != journal) problems += "the recording is not the journal; ";
    if (s.session.journal.ended) {
        // A journal that ended is saved as it ended: no checkpoint of a later state.
        const std::filesystem::path saved = dir / "ended.vxs";
        if (!saveJournal(s, s.session, saved.string()) || readFile(saved) != journal)
            problems += "the journal that ended is not saved as it ended; ";
    }

    const std::vector<std::pair<std::string, std::string>> shown(p.desktop.messages.begin() +
                                                                     static_cast<std::ptrdiff_t>(shownBefore),
                                                                 p.desktop.messages.end());
    report.told = toldBy(shown);
    switch (report.told) {
    case Told::nothing:
        // Only the occupancy index may go without memory unnoticed: it loses nothing.
        if (!sameRun || !sameJournal) problems += "an untold failure changed the run; ";
        break;
    case Told::chartMessage:
        if (!sameRun || !sameJournal) problems += "the chart's failure changed the run; ";
        break;
    case Told::journalEnd:
        if (!sameRun) problems += "the journal's failure changed the simulation; ";
        if (!journalIsAPrefix) problems += "the journal that ended is not the session's journal up to a line; ";
        break;
    case Told::noMemoryBoxAndJournalDetour:
        if (!journalIsAPrefix) problems += "the journal that ended is not the session's journal up to a line; ";
        break;
    case Told::noMemoryBox:
        if (s.session.journal.ended) problems += "the journal ended without a word; ";
        if (!sameRun || !sameJournal) {
            // The session parted from the reference (a creature not placed): its own
            // journal must replay it.
            const std::filesystem::path saved = dir / "saved.vxs";
            report.replayed = true;
            if (!saveJournal(s, s.session, saved.string())) problems += "the journal cannot be saved; ";
            const Outcome replay = runMain(lab::labMain, "vivarix-lab", {"--replay", saved.string()});
            if (replay.status != 0 || replay.err.find("replay verified") == std::string::npos)
                problems += "the journal does not replay: " + replay.err;
        }
        break;
    case Told::other: {
        problems += "told by";
        for (const auto& [title, text] : shown) problems += " [" + title + ": " + text + "]";
        problems += "; ";
        break;
    }
    }
    return report;
}

using DesktopSweep = ScratchDir;

TEST_F(DesktopSweep, TheReferenceSessionHasWhatTheSweepIsAfterAndItsJournalReplays) {
    const Reference& r = reference();
    EXPECT_EQ(r.replay.status, 0) << r.replay.err;
    EXPECT_EQ(r.replay.err, "replay verified: 3 checkpoints\n");  // ticks 1,000 and 2,000, and the save
    std::map<std::string, int> situations;
    for (const PassRecord& p : r.passes)
        for (const std::string& s : p.situations) ++situations[s];
    for (const char* s : {"a pass of many ticks", "New Vivarix", "a death", "a checkpoint"})
        EXPECT_GE(situations[s], 1) << s;
    std::map<std::string, int> sites;
    for (const std::string& s : r.sites) ++sites[s];
    for (const char* s : {"opponent search", "occupancy index", "journal", "population chart", "frame",
                          "window title"})
        EXPECT_GE(sites[s], 1) << s;
    EXPECT_EQ(sites["population history"], 0) << "the history allocates in a pass";
    const PassRecord& beforeNewPlate = r.passes[r.passes.size() - 4];
    EXPECT_GT(beforeNewPlate.kindCount[0] + beforeNewPlate.kindCount[1], 0) << "New Vivarix on an empty plate";
}

TEST_F(DesktopSweep, EveryAllocationAndListAppendOfASweptPassMayFail) {
    const Reference& ref = reference();
    const std::vector<std::size_t> swept = sweptPasses();
    Program p(dir / "recording.vxs");
    AllocationCount count;
    std::map<std::string, int> runsBySite, runsBySituation;
    std::map<Told, int> runsByTold;
    int runs = 0, replays = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; i < ref.acts.size(); ++i) {
        const PassRecord& record = ref.passes[i];
        if (next < swept.size() && swept[next] == i) {
            ++next;
            std::vector<Failure> failures;
            for (std::int64_t k = record.firstAllocation; k <= record.lastAllocation; ++k)
                failures.push_back({Failure::Of::allocation, k});
            // The first, middle and last append of each list (a placement or a
            // birth; a repaint of feeding, a meal or a new plate).
            for (const auto& [of, appends] : {std::pair{Failure::Of::creatureAppend, record.creatureAppends},
                                              std::pair{Failure::Of::repaintAppend, record.repaintAppends}})
                if (appends > 0)
                    for (const std::int64_t k : std::set<std::int64_t>{1, (appends + 1) / 2, appends})
                        failures.push_back({of, k});
            for (const Failure& failure : failures) {
                const Report report =
                    reportOf(inChild([&] { return reportText(runFailing(p, i, failure, count, dir)); }));
                const std::string site = failure.of == Failure::Of::allocation
                                             ? ref.sites[static_cast<std::size_t>(failure.k - 1)]
                                             : "list append";
                EXPECT_EQ(report.problems, "") << "pass " << i << ", " << site << " " << failure.k;
                ++runs;
                ++runsByTold[report.told];
                replays += report.replayed;
                ++runsBySite[site];
                for (const std::string& s : record.situations) ++runsBySituation[s];
                if (HasFailure()) return;
            }
        }
        ASSERT_EQ(p.pass(ref.acts[i], count), "");
        ASSERT_EQ(count.counted, record.lastAllocation) << "pass " << i << " is not the reference's";
        ASSERT_EQ(brokenInvariants(*p.state, ref.offPlate), "");
    }
    std::printf("allocation sweep: %d failing runs in %zu of %zu passes; by site:", runs, swept.size(),
                ref.acts.size());
    for (const auto& [site, n] : runsBySite) std::printf(" %s %d,", site.c_str(), n);
    std::printf(" in passes with:");
    for (const auto& [situation, n] : runsBySituation) std::printf(" %s %d,", situation.c_str(), n);
    std::printf(" told by: nothing %d, the no-memory box %d, the journal's end %d, the box and the journal's end %d, "
                "the chart's message %d; journals replayed %d\n",
                runsByTold[Told::nothing], runsByTold[Told::noMemoryBox], runsByTold[Told::journalEnd],
                runsByTold[Told::noMemoryBoxAndJournalDetour], runsByTold[Told::chartMessage], replays);
    EXPECT_GE(runsBySite["opponent search"], 1);
    EXPECT_GE(runsBySite["journal"], 10);
    EXPECT_GE(runsBySituation["a death"], 1);
    // Every way of telling a failure happened, and runs that parted from the
    // reference had their journals replayed.
    for (const Told told : {Told::nothing, Told::noMemoryBox, Told::journalEnd, Told::noMemoryBoxAndJournalDetour,
                            Told::chartMessage})
        EXPECT_GE(runsByTold[told], 1) << static_cast<int>(told);
    EXPECT_GE(replays, 1);
}

}  // namespace
}  // namespace vivarix::test
