#pragma once
// A light read-only view for a result text too large for the edit to lay out in reasonable
// time (tens of megabytes, one endless line, or hundreds of thousands of lines): it lays out
// only the rows on screen. Lines break at their line ends and every kRowChars characters;
// control characters show as their visible symbols. Ctrl+A selects the whole text and Ctrl+C
// copies it exactly as it was given.
#include <cstdint>
#include <vector>

#include <QAbstractScrollArea>
#include <QString>

class LargeTextView : public QAbstractScrollArea {
public:
    static constexpr int kRowChars = 2000;

    // Covers parent's contents and follows its size.
    explicit LargeTextView(QWidget* parent);
    // text is shown with "\r\n" and "\r" as line ends too.
    void SetText(QString text);
    int64_t RowCount() const { return static_cast<int64_t>(m_rowStarts.size()); }
    bool AllSelected() const { return m_allSelected; }

    // True when the edit would take too long to show text.
    static bool IsTooLargeForEdit(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString RowText(int64_t row) const;
    void UpdateScrollBars();

    QString m_text;
    std::vector<uint32_t> m_rowStarts;  // index into m_text; a row ends at the next start
    bool m_allSelected = false;
};
