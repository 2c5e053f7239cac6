// Running out of memory for one list element anywhere in plate set-up or in a pass.
//
// Every append the program makes (a repaint queued by set-up, feeding or eating, a
// placed creature, a child) can fail.  The rule is the same everywhere: one message
// box "Fehler!" / "Kein Speicherplatz zum Reservieren des neuen Elements", the
// operation goes on without the element, and the plate stays consistent.
//
// The sweeps below run one fixed scenario again and again, each time with another
// append failing (one AllocationFaults counts the appends to both lists of the run),
// and compare the run with the same
// scenario undisturbed, stage by stage: where a failure does not change the random
// draws that follow, the two runs must differ by exactly the missing element.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "invariants.h"
#include "lab_run.h"
#include "session/control_table.h"
#include "sim/creature_step.h"
#include "sim/feeding.h"
#include "sim/tick.h"
#include "support/tiny_plate.h"

namespace vivarix::lab {
namespace {

constexpr std::uint64_t seed = 20240611;

// --- the scenario ----------------------------------------------------------------

// Twenty creatures of both kinds 70 cells apart on a random plate, two clicks that
// are refused before anything is allocated, four more creatures in pass 3, the
// right button held over the lower plate in passes 0 to 4, automatic feeding and
// the centre source.  In six passes no two creatures meet except a parent and its
// child, so nobody attacks and nobody dies (TheScenarioHasWhatTheSweepsNeed checks
// that on the undisturbed run).
Options scenario() {
    Options o;
    o.ticks = 6;
    for (std::int32_t i = 0; i < 20; ++i) o.placements.push_back({0, i % 2, 80 + (i % 5) * 70, 90 + (i / 5) * 70});
    o.placements.push_back({0, 0, 5, 5});      // a plate pixel outside the disc
    o.placements.push_back({0, 1, 600, 200});  // over the control column
    for (std::int32_t i = 0; i < 4; ++i) o.placements.push_back({3, i % 2, 115 + i * 70, 125});
    o.feeds.push_back({0, 4, 230, 400});
    return o;
}

constexpr std::uint64_t birthPass = 2;

// What the scenario does between passes: before pass 2 every creature reaches its
// maturity age, so that each gives birth in pass 2 instead of after 320 passes.
void beforePass(Lab& lab, std::uint64_t pass) {
    if (pass != birthPass) return;
    for (Creature* c = lab.state.creatureList.front(); c; c = CreatureList::after(c)) c->age = c->maturityAge;
}

// The start of a pass, a placement, then the stages of the tick in tickStages order.
enum class Stage { passStart, placement, manualFeed, autoFeed, centreFeed, step };
static_assert(static_cast<std::size_t>(Stage::step) - static_cast<std::size_t>(Stage::manualFeed) + 1 ==
              tickStages.size());

const char* stageName(Stage s) {
    if (s == Stage::passStart) return "pass start";
    if (s == Stage::placement) return "placement";
    return tickStages[static_cast<std::size_t>(s) - static_cast<std::size_t>(Stage::manualFeed)].name;
}

// One pass of vivarix-lab (lab::runPass) with a look at the state after each of its
// stages: the start of the pass, every placement, and each stage of the tick,
// while the repaint queue still holds what the pass queued.
// ThePassInStagesIsTheLabsPass keeps it equal to lab::runPass.
template <class Look>
void passInStages(Lab& lab, LabInputs& inputs, std::uint64_t pass, Look&& look) {
    beforePass(lab, pass);
    look(Stage::passStart);
    takePassInputs(lab, inputs, pass, [&](const LabInput& item) {
        if (const auto* input = std::get_if<Input>(&item.what); input && std::holds_alternative<PlaceInput>(*input))
            look(Stage::placement);
    });
    for (std::size_t i = 0; i < tickStages.size(); ++i) {
        tickStages[i].run(lab.state);
        look(static_cast<Stage>(static_cast<std::size_t>(Stage::manualFeed) + i));
    }
    settleWithoutFrame(lab.state);
}

// The plate of the scenario as start-up prepares it, made once: decoding the
// pictures and scanning the plate picture takes tens of milliseconds, too long for
// every run of a sweep.  The runs start from copies of its controls, grid and
// generator; their repaint queue starts empty instead of holding the set-up's
// repaints, which no pass reads.
struct PreparedPlate {
    PlateGrid grid;
    Random random;
    std::vector<std::array<std::int16_t, 3>> queued;  // the set-up's repaints
};

std::array<std::int16_t, 3> fieldsOf(const NutriumParticle& p) { return {p.x, p.y, p.level}; }

std::vector<std::array<std::int16_t, 3>> queueOf(const NutriumList& list) {
    std::vector<std::array<std::int16_t, 3>> all;
    for (const NutriumParticle* p = list.front(); p; p = NutriumList::after(p)) all.push_back(fieldsOf(*p));
    return all;
}

const PreparedPlate& preparedPlate() {
    static const PreparedPlate plate = [] {
        auto lab = std::make_unique<Lab>();
        prepareLab(*lab, scenario().randomNutrient, seed);
        return PreparedPlate{lab->state.plateGrid, lab->state.random, queueOf(lab->state.nutriumList)};
    }();
    return plate;
}

// Both lists of the lab ask `faults` about every append.
void attachFaults(Lab& lab, AllocationFaults& faults) {
    lab.state.creatureList.setAllocationFaults(&faults);
    lab.state.nutriumList.setAllocationFaults(&faults);
}

std::unique_ptr<Lab> labOnPreparedPlate(MessageBoxes& messages, AllocationFaults* faults = nullptr) {
    const PreparedPlate& plate = preparedPlate();
    auto lab = std::make_unique<Lab>();
    if (faults) attachFaults(*lab, *faults);
    resetSimulation(lab->state, &messages, seed);
    lab->state.plateGrid = plate.grid;
    lab->state.random = plate.random;
    return lab;
}

// prepareLab, with the messages of set-up recorded instead of written to stderr.
void prepareRecorded(Lab& lab, MessageBoxes& messages) { prepareLab(lab, scenario().randomNutrient, seed, &messages); }

// --- snapshots ---------------------------------------------------------------------

using Fields = std::array<std::int32_t, 20>;
using Particle = std::array<std::int16_t, 3>;

Fields fieldsOf(const Creature& c) {
    return {c.x, c.y, c.stomach, c.age, c.kind, c.colour, c.maxAge, c.stomachCapacity, c.sexMarker,
            c.maturityAge, c.stress, c.stressTolerance, c.kPoints, c.geneV, c.geneR, c.geneSr, c.geneRw,
            c.geneSl, c.geneL, c.direction};
}
constexpr std::size_t xField = 0, yField = 1, stomachField = 2, ageField = 3, kindField = 4, stressField = 10,
                      toleranceField = 11;

struct Snapshot {
    std::vector<Fields> creatures;  // in list order
    std::size_t current = 0;        // index of the current creature; creatures.size() when before-first
    std::vector<Particle> queued;
    std::array<std::int32_t, 3> kindCount{};
    PlateGrid plate;
    std::uint64_t draws = 0;
    std::int64_t requests = 0;  // appends asked for since the run started
};

Snapshot snapshotOf(const SimState& state) {
    Snapshot s;
    const CreatureList& list = state.creatureList;
    for (const Creature* c = list.front(); c; c = CreatureList::after(c)) {
        if (c == list.current()) s.current = s.creatures.size();
        s.creatures.push_back(fieldsOf(*c));
    }
    if (!list.current()) s.current = s.creatures.size();
    s.queued = queueOf(state.nutriumList);
    s.kindCount = state.kindCount;
    s.plate = state.plateGrid;
    s.draws = state.random.draws;
    const AllocationFaults* faults = state.creatureList.allocationFaults();
    s.requests = faults ? faults->requests() : 0;
    return s;
}

std::array<std::int32_t, 3> censusOf(const std::vector<Fields>& creatures) {
    std::array<std::int32_t, 3> counts{};
    for (const Fields& f : creatures) counts[f[kindField] == 0 || f[kindField] == 1 ? f[kindField] : 2] += 1;
    return counts;
}

// The first cell in which two plates differ, or "" when they are equal.
std::string plateDifference(const PlateGrid& failing, const PlateGrid& expected) {
    if (failing.cells.size() != expected.cells.size()) return "grids of different sizes";
    for (std::size_t i = 0; i < failing.cells.size(); ++i)
        if (failing.cells[i] != expected.cells[i]) {
            std::ostringstream out;
            out << "cell (" << i / static_cast<std::size_t>(expected.rows) << ", "
                << i % static_cast<std::size_t>(expected.rows) << ") is " << failing.cells[i] << ", expected "
                << expected.cells[i];
            return out.str();
        }
    return {};
}

// What must hold after every stage of every run: the lists are linked the same way
// in both directions, and kindCount is the census of the creature list.
void expectWellFormed(const SimState& state) {
    EXPECT_EQ(test::listProblems(state.creatureList), "");
    EXPECT_EQ(test::listProblems(state.nutriumList), "");
    EXPECT_TRUE(vivarix::testing::plateInvariantsHold(state));
}

// --- the undisturbed run -------------------------------------------------------

struct StageRecord {
    std::uint64_t pass = 0;
    Stage stage = Stage::passStart;
    std::int64_t firstRequest = 0;  // the appends of the stage: firstRequest .. lastRequest,
    std::int64_t lastRequest = -1;  // counted from 1 at the start of the run
    Snapshot after;
    bool contains(std::int64_t k) const { return firstRequest <= k && k <= lastRequest; }
};

struct Reference {
    std::vector<StageRecord> stages;  // in the order the stages run
};

const Reference& reference() {
    static const Reference ref = [] {
        Reference r;
        const Options options = scenario();
        test::RecordingMessageBoxes messages;
        AllocationFaults counting;  // fails none, counts from here
        auto lab = labOnPreparedPlate(messages, &counting);
        LabInputs inputs(options);
        std::int64_t before = 0;
        for (std::uint64_t pass = 0; pass < options.ticks; ++pass)
            passInStages(*lab, inputs, pass, [&](Stage stage) {
                StageRecord record;
                record.pass = pass;
                record.stage = stage;
                record.firstRequest = before + 1;
                record.after = snapshotOf(lab->state);
                record.lastRequest = record.after.requests;
                before = record.after.requests;
                r.stages.push_back(std::move(record));
            });
        return r;
    }();
    return ref;
}

// --- a failing run -----------------------------------------------------------------

// Records the messages, and the state at the first one: the moment the failing
// append was refused.
class MessagesWithSnapshot final : public MessageBoxes {
public:
    void messageBox(std::string_view title, std::string_view text) override {
        shown.emplace_back(std::string(title), std::string(text));
        if (shown.size() == 1 && state) atFirst = snapshotOf(*state);
    }
    const SimState* state = nullptr;
    std::vector<std::pair<std::string, std::string>> shown;
    std::optional<Snapshot> atFirst;
};

// What the sweeps found, so that each can tell that it covered what it claims.
struct Coverage {
    int runs = 0;
    int placements = 0, manualFeeds = 0, autoFeeds = 0, centreFeeds = 0, meals = 0, births = 0;
};

class OutOfMemory : public ::testing::Test {
protected:
    void SetUp() override { reference(); }

    // Runs the scenario with append number k failing; checks the stage in which it
    // fails against the undisturbed run, and the rest of the run for consistency.
    void runFailing(std::int64_t k, Coverage& coverage);

    void checkPlacement(const Snapshot& failing, const StageRecord& before, const StageRecord& after);
    void checkCappedFeeding(const Snapshot& failing, const StageRecord& before, const StageRecord& after,
                            std::size_t skipped);
    void checkAutomaticFeeding(const Snapshot& failing, const StageRecord& before, const StageRecord& after,
                               std::size_t skipped);
    // Returns whether the failed append was a birth (otherwise a meal's repaint).
    bool checkStep(const Snapshot& failing, const Snapshot& atReport, const StageRecord& after);
};

// The kind of the creature that a failed placement or birth did not make.
struct MissingCreature {
    std::int32_t kind = -1;  // -1: the failure made no creature go missing
};

void OutOfMemory::runFailing(std::int64_t k, Coverage& coverage) {
    SCOPED_TRACE("append " + std::to_string(k) + " fails");
    const Reference& ref = reference();
    const Options options = scenario();
    MessagesWithSnapshot messages;
    AllocationFaults faults;
    faults.failRequest(k);
    auto lab = labOnPreparedPlate(messages, &faults);
    messages.state = &lab->state;
    LabInputs inputs(options);

    std::size_t index = 0;
    std::int64_t requestsSoFar = 0;  // this run's appends up to the last look
    std::optional<std::uint64_t> failingPass;
    MissingCreature missing;
    for (std::uint64_t pass = 0; pass < options.ticks; ++pass) {
        passInStages(*lab, inputs, pass, [&](Stage stage) {
            const StageRecord& record = ref.stages.at(index);
            ASSERT_EQ(record.stage, stage);
            expectWellFormed(lab->state);
            if (record.contains(k)) {
                SCOPED_TRACE(std::string("in ") + stageName(stage) + " of pass " + std::to_string(pass));
                const Snapshot failing = snapshotOf(lab->state);
                const StageRecord& before = ref.stages.at(index - 1);
                // Up to this stage the run made the appends of the undisturbed one.
                ASSERT_EQ(requestsSoFar, before.lastRequest);
                ASSERT_EQ(messages.shown.size(), 1u) << "the failing append was not reported once";
                ASSERT_TRUE(messages.atFirst.has_value());
                failingPass = pass;
                const auto skipped = static_cast<std::size_t>(k - record.firstRequest);
                switch (stage) {
                case Stage::placement:
                    checkPlacement(failing, before, record);
                    missing.kind = record.after.creatures.at(record.after.current)[kindField];
                    ++coverage.placements;
                    break;
                case Stage::manualFeed:
                    checkCappedFeeding(failing, before, record, skipped);
                    ++coverage.manualFeeds;
                    break;
                case Stage::autoFeed:
                    checkAutomaticFeeding(failing, before, record, skipped);
                    ++coverage.autoFeeds;
                    break;
                case Stage::centreFeed:
                    checkCappedFeeding(failing, before, record, skipped);
                    ++coverage.centreFeeds;
                    break;
                case Stage::step:
                    if (checkStep(failing, *messages.atFirst, record)) {
                        missing.kind = messages.atFirst->creatures.at(messages.atFirst->current)[kindField];
                        ++coverage.births;
                    } else {
                        ++coverage.meals;
                    }
                    break;
                case Stage::passStart:
                    ADD_FAILURE() << "no appends at the start of a pass";
                    break;
                }
            }
            if (stage == Stage::step && failingPass == pass && missing.kind >= 0) {
                // A creature that was not placed or not born is missing at the end of
                // the pass, and only that one: counts are decided by placements and
                // births alone in this scenario.
                const Snapshot now = snapshotOf(lab->state);
                EXPECT_EQ(now.creatures.size() + 1, record.after.creatures.size());
                std::array<std::int32_t, 3> expected = record.after.kindCount;
                expected[static_cast<std::size_t>(missing.kind)] -= 1;
                EXPECT_EQ(now.kindCount, expected);
            }
            requestsSoFar = faults.requests();
            ++index;
        });
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_TRUE(failingPass.has_value()) << "the failing append was never reached";
    EXPECT_GE(faults.requests(), k);
    ASSERT_EQ(messages.shown.size(), 1u) << "the run went on, but reported more than once";
    EXPECT_EQ(messages.shown[0].first, test::noMemoryTitle);
    EXPECT_EQ(messages.shown[0].second, test::noMemoryText);
    ++coverage.runs;
}

// A refused placement leaves everything as it was before the click: no creature,
// no count, not even the heading draw.
void OutOfMemory::checkPlacement(const Snapshot& failing, const StageRecord& before, const StageRecord& after) {
    ASSERT_EQ(after.after.creatures.size(), before.after.creatures.size() + 1) << "the undisturbed run placed nothing";
    EXPECT_EQ(failing.creatures, before.after.creatures);
    EXPECT_EQ(failing.current, before.after.current);
    EXPECT_EQ(failing.kindCount, before.after.kindCount);
    EXPECT_EQ(failing.draws, before.after.draws);
}

// Manual feeding and the centre source add units capped at 5.  Without unit
// `skipped` of the stage, the others still land in the same order on the same cells
// (their draws come before the append), each one up from what the cell holds then.
void OutOfMemory::checkCappedFeeding(const Snapshot& failing, const StageRecord& before, const StageRecord& after,
                                     std::size_t skipped) {
    const std::size_t start = before.after.queued.size();
    auto replay = [&](std::optional<std::size_t> leftOut, PlateGrid& plate, std::vector<Particle>& queued) {
        plate = before.after.plate;
        queued = before.after.queued;
        for (std::size_t i = start; i < after.after.queued.size(); ++i) {
            if (leftOut && i - start == *leftOut) continue;
            const Particle& unit = after.after.queued[i];
            std::int16_t& cell = cellAt(plate, unit[0], unit[1]);
            cell = static_cast<std::int16_t>(std::min(cell + 1, 5));
            queued.push_back({unit[0], unit[1], cell});
        }
    };
    PlateGrid plate;
    std::vector<Particle> queued;
    // The replay of the whole stage is the undisturbed run: the model is right.
    replay(std::nullopt, plate, queued);
    ASSERT_EQ(plateDifference(plate, after.after.plate), "");
    ASSERT_EQ(queued, after.after.queued);

    replay(skipped, plate, queued);
    const Particle& lost = after.after.queued.at(start + skipped);
    EXPECT_EQ(failing.queued, queued);
    EXPECT_EQ(plateDifference(failing.plate, plate), "") << "the unit for (" << lost[0] << ", " << lost[1] << ")";
    EXPECT_EQ(failing.creatures, after.after.creatures);
    EXPECT_EQ(failing.kindCount, after.after.kindCount);
    EXPECT_EQ(failing.draws, after.after.draws);
}

// Automatic feeding raises the cell first: only the repaint is missing.
void OutOfMemory::checkAutomaticFeeding(const Snapshot& failing, const StageRecord& before,
                                        const StageRecord& after, std::size_t skipped) {
    std::vector<Particle> queued = after.after.queued;
    queued.erase(queued.begin() + static_cast<std::ptrdiff_t>(before.after.queued.size() + skipped));
    EXPECT_EQ(failing.queued, queued);
    EXPECT_EQ(plateDifference(failing.plate, after.after.plate), "");
    EXPECT_EQ(failing.creatures, after.after.creatures);
    EXPECT_EQ(failing.kindCount, after.after.kindCount);
    EXPECT_EQ(failing.draws, after.after.draws);
}

bool OutOfMemory::checkStep(const Snapshot& failing, const Snapshot& atReport, const StageRecord& after) {
    const Snapshot& undisturbed = after.after;
    if (failing.creatures.size() == undisturbed.creatures.size()) {
        // A meal whose repaint could not be queued: the cell is eaten and the meal
        // kept; the repaint is missing and the rest of the tick is the undisturbed one.
        EXPECT_EQ(failing.creatures, undisturbed.creatures);
        EXPECT_EQ(failing.kindCount, undisturbed.kindCount);
        EXPECT_EQ(plateDifference(failing.plate, undisturbed.plate), "");
        EXPECT_EQ(failing.draws, undisturbed.draws);
        EXPECT_EQ(failing.queued.size() + 1, undisturbed.queued.size());
        const auto mismatch = std::mismatch(failing.queued.begin(), failing.queued.end(), undisturbed.queued.begin());
        const std::size_t lostAt = static_cast<std::size_t>(mismatch.first - failing.queued.begin());
        if (lostAt >= undisturbed.queued.size()) {
            ADD_FAILURE() << "no repaint is missing";
            return false;
        }
        std::vector<Particle> queued = undisturbed.queued;
        const Particle lost = queued[lostAt];
        queued.erase(queued.begin() + static_cast<std::ptrdiff_t>(lostAt));
        EXPECT_EQ(failing.queued, queued);
        EXPECT_EQ(lost[2], 0) << "only a meal queues in the step";
        EXPECT_EQ(cellAt(failing.plate, lost[0], lost[1]), 0);
        // The eater was the creature being visited when the append was refused.
        const Fields& eater = atReport.creatures.at(atReport.current);
        EXPECT_EQ(eater[xField], lost[0]);
        EXPECT_EQ(eater[yField], lost[1]);
        return false;
    }
    // A birth without a child.  At the refusal the parent is current with its halved
    // stomach and age; the undisturbed run has the same parent at the same place
    // with its child right after it.  The refused birth skips the child's draws, so
    // the rest of the tick takes other turns: from there on only what no draw
    // decides is compared (kinds and ages, and the counts).
    EXPECT_EQ(failing.creatures.size() + 1, undisturbed.creatures.size()) << "neither a meal nor a birth";
    const std::size_t p = atReport.current;
    if (p >= atReport.creatures.size() || p + 1 >= undisturbed.creatures.size()) {
        ADD_FAILURE() << "no current parent when the birth failed";
        return true;
    }
    const Fields& parent = atReport.creatures[p];
    const Fields& child = undisturbed.creatures[p + 1];
    EXPECT_EQ(parent, undisturbed.creatures[p]) << "the parent keeps its halved stomach and age";
    EXPECT_EQ(child[ageField], 0);
    EXPECT_EQ(child[stomachField], parent[stomachField]);
    EXPECT_EQ(child[xField], parent[xField]);
    EXPECT_EQ(child[yField], parent[yField]);
    EXPECT_EQ(child[kindField], parent[kindField]);
    EXPECT_TRUE(std::equal(atReport.creatures.begin(), atReport.creatures.begin() + static_cast<std::ptrdiff_t>(p),
                           undisturbed.creatures.begin()))
        << "the creatures visited before the parent are the undisturbed ones";
    EXPECT_EQ(atReport.kindCount, censusOf(atReport.creatures)) << "no child was counted";
    // After the tick: the parent and everything before it as at the refusal, and
    // every creature of the undisturbed tick but the child, in order, with its kind
    // and its age (a creature stepped twice or skipped would be a tick off).
    EXPECT_TRUE(failing.creatures.size() > p &&
                std::equal(failing.creatures.begin(), failing.creatures.begin() + static_cast<std::ptrdiff_t>(p + 1),
                           atReport.creatures.begin()));
    std::vector<std::pair<std::int32_t, std::int32_t>> expected, got;
    for (std::size_t i = 0; i < undisturbed.creatures.size(); ++i)
        if (i != p + 1) expected.emplace_back(undisturbed.creatures[i][kindField], undisturbed.creatures[i][ageField]);
    for (const Fields& f : failing.creatures) got.emplace_back(f[kindField], f[ageField]);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(failing.kindCount, censusOf(failing.creatures));
    return true;
}

// The appends to fail in the stages of one kind: every `stride`-th from the first
// of each such stage, and its last, in passes 0 to 4 (pass 5 only shows that the
// run goes on).
std::vector<std::int64_t> appendsToFail(Stage stage, std::int64_t stride) {
    std::vector<std::int64_t> ks;
    for (const StageRecord& r : reference().stages) {
        if (r.stage != stage || r.pass > 4 || r.lastRequest < r.firstRequest) continue;
        for (std::int64_t k = r.firstRequest; k <= r.lastRequest; k += stride) ks.push_back(k);
        if (ks.back() != r.lastRequest) ks.push_back(r.lastRequest);
    }
    return ks;
}

// --- tests ---------------------------------------------------------------------------

TEST_F(OutOfMemory, ThePassInStagesIsTheLabsPass) {
    const Options options = scenario();
    test::RecordingMessageBoxes messages;
    auto staged = labOnPreparedPlate(messages);
    auto whole = labOnPreparedPlate(messages);
    LabInputs stagedInputs(options), wholeInputs(options);
    for (std::uint64_t pass = 0; pass < options.ticks; ++pass) {
        passInStages(*staged, stagedInputs, pass, [](Stage) {});
        beforePass(*whole, pass);
        runPass(*whole, wholeInputs, pass);
    }
    EXPECT_EQ(creaturesText(staged->state.creatureList), creaturesText(whole->state.creatureList));
    EXPECT_EQ(plateDifference(staged->state.plateGrid, whole->state.plateGrid), "");
    EXPECT_EQ(staged->state.random.draws, whole->state.random.draws);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OutOfMemory, TheScenarioHasWhatTheSweepsNeed) {
    const Reference& ref = reference();
    int births = 0, placed = 0;
    std::size_t creatures = 0;
    std::int64_t stepAppends = 0;
    for (std::size_t i = 1; i < ref.stages.size(); ++i) {
        const StageRecord& r = ref.stages[i];
        const Snapshot& before = ref.stages[i - 1].after;
        const std::size_t grown = r.after.creatures.size() - before.creatures.size();
        if (r.stage == Stage::placement) placed += static_cast<int>(grown);
        if (r.stage == Stage::step) {
            births += static_cast<int>(grown);
            stepAppends += r.lastRequest - r.firstRequest + 1;
        }
        // Nobody dies and nobody is stressed enough to attack.
        EXPECT_GE(r.after.creatures.size(), before.creatures.size()) << stageName(r.stage) << " of pass " << r.pass;
        for (const Fields& f : r.after.creatures) EXPECT_LE(f[stressField], f[toleranceField]);
        creatures = r.after.creatures.size();
    }
    EXPECT_EQ(placed, 24);
    EXPECT_EQ(births, 20);
    EXPECT_EQ(creatures, 44u);
    EXPECT_GT(stepAppends, births + 60) << "too few meals";
}

TEST_F(OutOfMemory, AFailedPlacementPlacesNothing) {
    Coverage coverage;
    for (const std::int64_t k : appendsToFail(Stage::placement, 1)) {
        runFailing(k, coverage);
        if (HasFailure()) break;
    }
    EXPECT_EQ(coverage.placements, 24);
    EXPECT_EQ(coverage.runs, 24);
}

TEST_F(OutOfMemory, AFailedManualOrCentreUnitLeavesItsCellAndTheOthersGoOn) {
    Coverage coverage;
    for (const std::int64_t k : appendsToFail(Stage::manualFeed, 41)) {
        runFailing(k, coverage);
        if (HasFailure()) return;
    }
    for (const std::int64_t k : appendsToFail(Stage::centreFeed, 13)) {
        runFailing(k, coverage);
        if (HasFailure()) return;
    }
    EXPECT_GE(coverage.manualFeeds, 5 * 10);
    EXPECT_GE(coverage.centreFeeds, 5 * 10);
}

TEST_F(OutOfMemory, AFailedAutomaticRepaintKeepsTheRaisedCell) {
    Coverage coverage;
    for (const std::int64_t k : appendsToFail(Stage::autoFeed, 7)) {
        runFailing(k, coverage);
        if (HasFailure()) break;
    }
    EXPECT_GE(coverage.autoFeeds, 5 * 8);
}

TEST_F(OutOfMemory, AFailedMealRepaintOrBirthInTheStepIsSkippedAndTheTickGoesOn) {
    Coverage coverage;
    for (const std::int64_t k : appendsToFail(Stage::step, 1)) {
        runFailing(k, coverage);
        if (HasFailure()) break;
    }
    EXPECT_EQ(coverage.births, 20);
    EXPECT_GE(coverage.meals, 60);
}

// Set-up queues the repaint of every plate cell of level 1, 3 or 4: about 114,000
// appends, of which the first, the last and every 9,973rd fail in turn.  The cell
// keeps its level, only its repaint is missing, and the passes that follow are
// those of the undisturbed plate.
TEST_F(OutOfMemory, AFailedRepaintInPlateSetUpKeepsTheCellsLevel) {
    const PreparedPlate& undisturbed = preparedPlate();
    const Options options = scenario();
    constexpr std::uint64_t passes = 3;
    std::string creaturesAfter;
    PlateGrid plateAfter;
    {
        test::RecordingMessageBoxes messages;
        Lab lab;
        prepareRecorded(lab, messages);
        ASSERT_TRUE(messages.shown.empty());
        ASSERT_EQ(queueOf(lab.state.nutriumList), undisturbed.queued) << "not the preparation of vivarix-lab";
        LabInputs inputs(options);
        for (std::uint64_t pass = 0; pass < passes; ++pass) runPass(lab, inputs, pass);
        creaturesAfter = creaturesText(lab.state.creatureList);
        plateAfter = lab.state.plateGrid;
    }
    const auto total = static_cast<std::int64_t>(undisturbed.queued.size());
    ASSERT_GT(total, 100000);
    std::vector<std::int64_t> ks{1};
    for (std::int64_t k = 9973; k < total; k += 9973) ks.push_back(k);
    ks.push_back(total);

    for (const std::int64_t k : ks) {
        SCOPED_TRACE("set-up append " + std::to_string(k) + " fails");
        test::RecordingMessageBoxes messages;
        AllocationFaults faults;
        faults.failRequest(k);
        auto lab = std::make_unique<Lab>();
        attachFaults(*lab, faults);
        prepareRecorded(*lab, messages);
        EXPECT_EQ(faults.requests(), total) << "one append per queued cell";
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].first, test::noMemoryTitle);
        EXPECT_EQ(messages.shown[0].second, test::noMemoryText);
        EXPECT_EQ(plateDifference(lab->state.plateGrid, undisturbed.grid), "");
        std::vector<Particle> queued = undisturbed.queued;
        queued.erase(queued.begin() + (k - 1));
        EXPECT_EQ(queueOf(lab->state.nutriumList), queued);
        EXPECT_EQ(test::listProblems(lab->state.nutriumList), "");
        LabInputs inputs(options);
        for (std::uint64_t pass = 0; pass < passes; ++pass) {
            runPass(*lab, inputs, pass);
            EXPECT_TRUE(vivarix::testing::plateInvariantsHold(lab->state)) << "after pass " << pass;
            EXPECT_EQ(test::listProblems(lab->state.creatureList), "");
        }
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(creaturesText(lab->state.creatureList), creaturesAfter);
        EXPECT_EQ(plateDifference(lab->state.plateGrid, plateAfter), "");
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace vivarix::lab
