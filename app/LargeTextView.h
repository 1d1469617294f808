#pragma once
// A light read-only view for a result text too large for the edit to lay out in reasonable
// time (tens of megabytes, one endless line, or hundreds of thousands of lines): it lays out
// only the rows on screen. Lines break at their line ends and every kRowChars characters;
// control characters show as their visible symbols. Ctrl+A selects the whole text and Ctrl+C
// copies it exactly as it was given. The view keeps the Windows-1252 bytes and converts only
// the rows it paints, so that it holds little more than the text itself.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractScrollArea>
#include <QString>

class LargeTextView : public QAbstractScrollArea {
public:
    static constexpr int kRowChars = 2000;

    // Covers parent's contents and follows its size.
    explicit LargeTextView(QWidget* parent);
    // Windows-1252 text, taken over; shown with "\r\n" and "\r" as line ends too.
    void SetText(std::string text);
    int64_t RowCount() const { return static_cast<int64_t>(m_rowStarts.size()); }
    bool AllSelected() const { return m_allSelected; }
    // A row as painted: without its line end, control characters as their visible symbols.
    QString RowText(int64_t row) const;

    // True when the edit would take too long to show text.
    static bool IsTooLargeForEdit(std::string_view text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollBars();

    // The end of the text shown: offsets are 32 bits.
    size_t ShownSize() const;

    std::string m_text;
    std::vector<uint32_t> m_rowStarts;  // index into m_text; a row ends at the next start
    bool m_allSelected = false;
};
