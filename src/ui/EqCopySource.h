#pragma once

namespace quilo {

// The equaliser last chosen with "Copy EQ", shared by every page that carries an equaliser
// section so a curve can be copied on one page and pasted on another. The application owns
// the one the program uses (it outlives the pages) and hands it on in the page context.
class EqCopySource {
public:
    static constexpr int kNone = -1;

    int eqId() const { return m_eqId; }
    void set(int eqId) { m_eqId = eqId; }
    void clear() { m_eqId = kNone; }

private:
    int m_eqId = kNone;
};

} // namespace quilo
