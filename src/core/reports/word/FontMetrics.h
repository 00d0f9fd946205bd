#pragma once

#include <QString>
#include <QVector>

namespace korvan {

// Advance widths of the reports' font, Times New Roman, read from a metric-compatible font file
// (Liberation Serif) rather than from whatever font the machine would substitute: the widths of
// table columns are written into the document, so every word processor shows the same.
// Without the font file the widths fall back to Times' own figures for the characters the reports
// use. Widths are in thousandths of an em.
class FontMetrics {
public:
    // The regular and bold faces, read once.
    static const FontMetrics &times(bool bold);

    // Reads the hmtx and cmap tables of a TrueType file; isValid() is false when it cannot.
    explicit FontMetrics(const QString &fileName);

    bool isValid() const { return !m_advance.isEmpty(); }
    QString fileName() const { return m_fileName; }
    // The advance of one UTF-16 unit (the reports write no characters beyond the BMP).
    double advance(char16_t ch) const;
    // Width of a text in points at the given size, without kerning (which only narrows it).
    double width(QStringView text, double points) const;

private:
    FontMetrics() = default;
    QString m_fileName;
    QVector<quint16> m_advance; // per BMP code point, thousandths of an em; 0: not in the font
    quint16 m_missing = 600;
};

} // namespace korvan
