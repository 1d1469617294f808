// The light result view: a row index over the text, and painting of the visible rows only.
#include "app/LargeTextView.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr qsizetype kEditCharLimit = 1 << 20;
constexpr qsizetype kEditLineLimit = 20000;

}  // namespace

LargeTextView::LargeTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    setGeometry(parent->contentsRect());
    parent->installEventFilter(this);
    parent->setFocusProxy(this);
}

bool LargeTextView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->contentsRect());
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool LargeTextView::IsTooLargeForEdit(const QString& text) {
    return text.size() > kEditCharLimit || text.count(QLatin1Char('\n')) > kEditLineLimit ||
           text.count(QLatin1Char('\r')) > kEditLineLimit;
}

void LargeTextView::SetText(QString text) {
    m_text = std::move(text);
    m_rowStarts.clear();
    m_allSelected = false;
    // Offsets are 32 bits: a longer text shows its first 4 Gi characters.
    const qsizetype size = std::min<qsizetype>(m_text.size(), UINT32_MAX);
    qsizetype start = 0;
    m_rowStarts.push_back(0);
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = m_text[i];
        qsizetype next = -1;
        if (c == QLatin1Char('\n')) {
            next = i + 1;
        } else if (c == QLatin1Char('\r')) {
            next = (i + 1 < size && m_text[i + 1] == QLatin1Char('\n')) ? i + 2 : i + 1;
            i = next - 1;
        } else if (i + 1 - start >= kRowChars) {
            next = i + 1;
        }
        if (next >= 0) {
            start = next;
            if (start < size) m_rowStarts.push_back(static_cast<uint32_t>(start));
        }
    }
    UpdateScrollBars();
    viewport()->update();
}

QString LargeTextView::RowText(int64_t row) const {
    const qsizetype start = m_rowStarts[static_cast<size_t>(row)];
    const qsizetype end = static_cast<size_t>(row) + 1 < m_rowStarts.size()
                              ? m_rowStarts[static_cast<size_t>(row) + 1]
                              : std::min<qsizetype>(m_text.size(), UINT32_MAX);
    QString shown = m_text.mid(start, end - start);
    while (!shown.isEmpty() && (shown.back() == QLatin1Char('\n') || shown.back() == QLatin1Char('\r'))) {
        shown.chop(1);
    }
    for (QChar& c : shown) {
        if (c.unicode() < 0x20) c = QChar(0x2400 + c.unicode());  // the control's visible symbol
        else if (c.unicode() == 0x7F) c = QChar(0x2421);
    }
    return shown;
}

void LargeTextView::UpdateScrollBars() {
    const int rowHeight = fontMetrics().lineSpacing();
    const int visibleRows = std::max(1, viewport()->height() / std::max(1, rowHeight));
    const int64_t maxRow = std::max<int64_t>(0, RowCount() - visibleRows);
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<int64_t>(maxRow, INT32_MAX)));
    verticalScrollBar()->setPageStep(visibleRows);
    verticalScrollBar()->setSingleStep(1);
    const int widest = fontMetrics().horizontalAdvance(QLatin1Char('W')) * kRowChars;
    horizontalScrollBar()->setRange(0, std::max(0, widest - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 4);
}

void LargeTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void LargeTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    const int rowHeight = fontMetrics().lineSpacing();
    const int x = 2 - horizontalScrollBar()->value();
    int y = 0;
    for (int64_t row = verticalScrollBar()->value(); row < RowCount() && y < viewport()->height();
         ++row, y += rowHeight) {
        const QString text = RowText(row);
        if (m_allSelected) {
            painter.fillRect(QRect(x, y, fontMetrics().horizontalAdvance(text) + 4, rowHeight),
                             colours.highlight());
            painter.setPen(colours.highlightedText().color());
        } else {
            painter.setPen(colours.text().color());
        }
        painter.drawText(x, y + fontMetrics().ascent(), text);
    }
}

void LargeTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        m_allSelected = true;
        viewport()->update();
    } else if (event->matches(QKeySequence::Copy)) {
        if (m_allSelected) QGuiApplication::clipboard()->setText(m_text);
    } else if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(0);
    } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}
