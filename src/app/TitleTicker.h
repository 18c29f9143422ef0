// The title label's movement to and fro. A title wider than the title area moves left in steps
// of 20 twips until its right end is inside the area, then right until its left edge is back
// at the rest position, and so on; one that fits stands at the rest position. Positions are
// twips of the bar in single precision, kept here and not in pixels, so that 20-twip steps
// never drift whatever a pixel measures.
#pragma once

namespace tb {

class TitleTicker {
public:
    static constexpr float kRestLeft = 120;
    static constexpr float kAreaWidth = 3855;
    static constexpr float kStep = 20;
    static constexpr float kStartLeft = 240;

    explicit TitleTicker(float left) : left_(left) {}

    // A new title: it starts right of the rest position and first moves left.
    void Restart();
    // One tick (150 ms) for a label `width` twips wide; gives the label's new left edge.
    float Tick(float width);

    float Left() const { return left_; }
    // True while the label moves right, back towards the rest position.
    bool TitelTerug() const { return titelTerug_; }

private:
    float left_;
    bool titelTerug_ = false;
};

}  // namespace tb
