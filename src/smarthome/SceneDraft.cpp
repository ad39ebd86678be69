#include "smarthome/SceneDraft.h"

#include "smarthome/PlugTable.h"

#include <utility>

namespace quilo {

void SceneDraft::load(const Scene& scene, const PlugTableData& table) {
    m_rows.clear();
    for (int i = 0; i < kSceneStepCount && scene[i].node != kEmptyStep; ++i) {
        const SceneStep step = scene[i];
        const bool plug =
            step.node >= kFirstPlugId && step.node <= kLastPlugId && table.present(step.node);
        if (step.node == kDelayStep || plug) {
            m_rows.push_back({i + 1, step});
        }
    }
}

bool SceneDraft::add(SceneStep step) {
    if (full()) {
        return false;
    }
    m_rows.push_back({static_cast<int>(m_rows.size()) + 1, step});
    return true;
}

bool SceneDraft::replace(int row, SceneStep step) {
    if (!valid(row)) {
        return false;
    }
    m_rows[row].step = step;
    return true;
}

bool SceneDraft::remove(int row) {
    if (!valid(row)) {
        return false;
    }
    m_rows.erase(m_rows.begin() + row);
    return true;
}

SceneDraft::Move SceneDraft::move(int row, int delta) {
    if (!valid(row)) {
        return Move::NoRow;
    }
    const int other = row + delta;
    if (other < 0) {
        return Move::AlreadyFirst;
    }
    if (other >= static_cast<int>(m_rows.size())) {
        return Move::AlreadyLast;
    }
    std::swap(m_rows[row].step, m_rows[other].step);
    return Move::Moved;
}

Scene SceneDraft::scene() const {
    Scene scene{};
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        scene[i] = m_rows[i].step;
    }
    return scene;
}

} // namespace quilo
