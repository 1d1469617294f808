// The light result view: a row index over the text, and painting of the visible rows only.
#include "app/LargeTextView.h"

#include <algorithm>
#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/Text1252.h"

namespace {

constexpr size_t kEditCharLimit = 1 << 20;
constexpr ptrdiff_t kEditLineLimit = 20000;

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

bool LargeTextView::IsTooLargeForEdit(std::string_view text) {
    return text.size() > kEditCharLimit || std::count(text.begin(), text.end(), '\n') > kEditLineLimit ||
           std::count(text.begin(), text.end(), '\r') > kEditLineLimit;
}

size_t LargeTextView::ShownSize() const {
    // A longer text shows its first 4 Gi characters.
    return std::min<size_t>(m_text.size(), UINT32_MAX);
}

void LargeTextView::SetText(std::string text) {
    m_text = std::move(text);
    m_rowStarts.clear();
    m_allSelected = false;
    const size_t size = ShownSize();
    const char* bytes = m_text.data();
    // The next CR and LF at or after start (size when there is none), each found by memchr.
    const auto next = [&](size_t start, char end) {
        const void* found = std::memchr(bytes + start, end, size - start);
        return found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - bytes) : size;
    };
    size_t start = 0;
    size_t nextCr = next(0, '\r');
    size_t nextLf = next(0, '\n');
    m_rowStarts.push_back(0);
    while (true) {
        if (nextCr < start) nextCr = next(start, '\r');
        if (nextLf < start) nextLf = next(start, '\n');
        const size_t lineEnd = std::min(nextCr, nextLf);
        if (lineEnd - start >= static_cast<size_t>(kRowChars)) {
            start += kRowChars;
        } else if (lineEnd == size) {
            break;
        } else if (lineEnd == nextLf) {
            start = lineEnd + 1;
        } else {
            start = (lineEnd + 1 < size && bytes[lineEnd + 1] == '\n') ? lineEnd + 2 : lineEnd + 1;
        }
        if (start >= size) break;
        m_rowStarts.push_back(static_cast<uint32_t>(start));
    }
    UpdateScrollBars();
    viewport()->update();
}

QString LargeTextView::RowText(int64_t row) const {
    const size_t start = m_rowStarts[static_cast<size_t>(row)];
    const size_t end = static_cast<size_t>(row) + 1 < m_rowStarts.size() ? m_rowStarts[static_cast<size_t>(row) + 1]
                                                                          : ShownSize();
    std::string_view bytes = std::string_view(m_text).substr(start, end - start);
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.remove_suffix(1);
    QString shown = FromWindows1252(bytes);
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
        if (m_allSelected) QGuiApplication::clipboard()->setText(FromWindows1252(m_text));
    } else if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(0);
    } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}
