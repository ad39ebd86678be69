// The scene editor's working copy: which stored steps become rows, the numbers
// rows keep, and the refusals of a full draft and of moves past either end.
#include "smarthome/PlugTable.h"
#include "smarthome/SceneDraft.h"

#include <gtest/gtest.h>

using namespace quilo;
using Row = SceneDraft::Row;

namespace {

SceneDraft loaded() {
    PlugTableData table;
    table.presence[2].id = 2;
    table.presence[3].id = 3;
    Scene stored{};
    stored[0] = {kHdmiStep, 2};
    stored[1] = {2, kPlugOn};
    stored[2] = {9, kPlugOn}; // not in the network
    stored[3] = {kDelayStep, 5};
    stored[4] = {3, 40};
    stored[6] = {2, kPlugOff}; // after the first empty step: not part of the scene
    SceneDraft draft;
    draft.load(stored, table);
    return draft;
}

} // namespace

TEST(SceneDraft, StoredStepsBecomeRowsWithTheirPlaces) {
    const SceneDraft draft = loaded();
    EXPECT_EQ(draft.rows(),
              (std::vector<Row>{{2, {2, kPlugOn}}, {4, {kDelayStep, 5}}, {5, {3, 40}}}));
}

TEST(SceneDraft, MovesSwapStepsButNotNumbersAndSaveTakesTheOrder) {
    SceneDraft draft = loaded();
    struct Case {
        int row, delta;
        SceneDraft::Move result;
    };
    for (const Case c :
         {Case{-1, 1, SceneDraft::Move::NoRow}, Case{3, -1, SceneDraft::Move::NoRow},
          Case{0, -1, SceneDraft::Move::AlreadyFirst}, Case{2, 1, SceneDraft::Move::AlreadyLast}}) {
        EXPECT_EQ(draft.move(c.row, c.delta), c.result) << c.row << " " << c.delta;
    }
    EXPECT_EQ(draft.rows(), loaded().rows()); // refused moves changed nothing

    ASSERT_EQ(draft.move(2, -1), SceneDraft::Move::Moved);
    EXPECT_EQ(draft.rows(),
              (std::vector<Row>{{2, {2, kPlugOn}}, {4, {3, 40}}, {5, {kDelayStep, 5}}}));
    ASSERT_TRUE(draft.remove(0));
    EXPECT_FALSE(draft.remove(2));
    Scene expected{};
    expected[0] = {3, 40};
    expected[1] = {kDelayStep, 5};
    EXPECT_EQ(draft.scene(), expected);
}

TEST(SceneDraft, AFullDraftTakesNoMoreSteps) {
    SceneDraft draft;
    for (int i = 0; i < kSceneStepCount; ++i) {
        ASSERT_TRUE(draft.add({kDelayStep, 1}));
    }
    EXPECT_TRUE(draft.full());
    EXPECT_FALSE(draft.add({kDelayStep, 2}));
    EXPECT_EQ(draft.rows().back(), (Row{kSceneStepCount, {kDelayStep, 1}}));
    EXPECT_TRUE(draft.replace(0, {kDelayStep, 9}));
    EXPECT_FALSE(draft.replace(kSceneStepCount, {kDelayStep, 9}));
    EXPECT_EQ(draft.scene()[0], (SceneStep{kDelayStep, 9}));
}
