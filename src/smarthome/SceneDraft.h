#pragma once

#include "smarthome/PlugRecord.h"

#include <vector>

namespace quilo {

struct PlugTableData;

// The steps of one scene while the scene editor changes them, before Save stores
// them. Each row keeps the number it was shown with: a stored step its place in
// the stored scene, an added one the row count after it was added. Moving rows
// swaps their steps and leaves the numbers where they were.
class SceneDraft {
public:
    struct Row {
        int number = 0;
        SceneStep step;
        bool operator==(const Row&) const = default;
    };
    enum class Move { Moved, NoRow, AlreadyFirst, AlreadyLast };

    // The stored steps up to the first empty one, without HDMI steps and plugs that
    // are not in the network (their numbers stay unused).
    void load(const Scene& scene, const PlugTableData& table);

    const std::vector<Row>& rows() const { return m_rows; }
    bool full() const { return m_rows.size() >= kSceneStepCount; }

    // False when the draft is full.
    bool add(SceneStep step);
    // False when `row` is not a row.
    bool replace(int row, SceneStep step);
    bool remove(int row);
    void clear() { m_rows.clear(); }
    // Swaps the steps of `row` and `row + delta`.
    Move move(int row, int delta);

    // The rows' steps in order, empty steps after them.
    Scene scene() const;

private:
    bool valid(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }

    std::vector<Row> m_rows;
};

} // namespace quilo
