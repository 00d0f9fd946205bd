#pragma once

#include "core/reports/WordConstants.h"

namespace korvan {

// The page layout of a document: paper, orientation, margins and the distances of the header and
// the footer from the page edges. Lengths are in points.
class WordPageSetup {
public:
    WdPaperSize paperSize() const { return m_paperSize; }
    void setPaperSize(WdPaperSize paperSize);
    WdOrientation orientation() const { return m_orientation; }
    void setOrientation(WdOrientation orientation);

    // Width and height of the page as it lies, in twips (a twentieth of a point).
    int pageWidthTwips() const;
    int pageHeightTwips() const;
    // The width between the left and right margins.
    double textWidth() const;
    double textHeight() const;

    float topMargin() const { return m_top; }
    float bottomMargin() const { return m_bottom; }
    float leftMargin() const { return m_left; }
    float rightMargin() const { return m_right; }
    float headerDistance() const { return m_header; }
    float footerDistance() const { return m_footer; }

    // Values Word would refuse (negative side margins, margins wider than the page, more than
    // 22 inches) raise a KorvanError and change nothing.
    void setTopMargin(float points);
    void setBottomMargin(float points);
    void setLeftMargin(float points);
    void setRightMargin(float points);
    void setHeaderDistance(float points);
    void setFooterDistance(float points);

private:
    WdPaperSize m_paperSize = wdPaperA4;
    WdOrientation m_orientation = wdOrientPortrait;
    // Word's defaults for a Russian A4 page: 2 cm, 2 cm, 3 cm, 1.5 cm, 1.25 cm, 1.25 cm.
    float m_top = 56.7f;
    float m_bottom = 56.7f;
    float m_left = 85.05f;
    float m_right = 42.55f;
    float m_header = 35.45f;
    float m_footer = 35.45f;
};

} // namespace korvan
