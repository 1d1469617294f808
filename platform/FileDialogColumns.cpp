// Column widths of the open-file dialog's detail view, from the texts its listing shows.
#include "platform/FileDialogColumns.h"

#include <algorithm>
#include <initializer_list>

#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>

namespace {

// The detail view's columns after the name, as the listing fills them.
enum Column { kSize = 1, kType, kDate, kColumns };

// Texts as wide as the listing writes for ordinary files: sizes up to four digits in any unit,
// the type of a text file, a date in the widest month.
QStringList SamplesFor(int column) {
    const QLocale locale = QLocale::system();
    QStringList samples;
    switch (column) {
    case kSize:
        for (qint64 bytes : {qint64{1023}, qint64{1023} << 10, qint64{1023} << 20, qint64{1023} << 30}) {
            samples << locale.formattedDataSize(bytes - 1);
        }
        break;
    case kType:
        samples << QMimeDatabase().mimeTypeForName(QStringLiteral("text/plain")).comment();
        break;
    case kDate:
        for (int month = 1; month <= 12; ++month) {
            samples << locale.toString(QDateTime(QDate(2000, month, 28), QTime(20, 58, 58)), QLocale::ShortFormat);
        }
        break;
    default: break;
    }
    return samples;
}

// The width a cell needs to show text whole, margins included, as the view's items measure it.
int CellWidth(const QTreeView& view, const QString& text) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    return view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view).width();
}

// Once the dialog is laid out, just before it first shows, it grows by what its view lacks.
class GrowOnShow : public QObject {
public:
    GrowOnShow(QFileDialog& dialog, QTreeView& view, int wanted)
        : QObject(&dialog), m_dialog(dialog), m_view(view), m_wanted(wanted) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_dialog && event->type() == QEvent::Show) {
            Grow();
            deleteLater();
        }
        return false;
    }

private:
    // Only the size: the dialog places itself over its parent, on the screen, after this.
    void Grow() {
        const int lacking = std::max(m_wanted - m_view.viewport()->width(), 0);
        QSize size(m_dialog.width() + lacking, m_dialog.height());
        if (const QScreen* screen = m_dialog.screen()) size = size.boundedTo(screen->availableSize());
        m_dialog.resize(size);
    }

    QFileDialog& m_dialog;
    QTreeView& m_view;
    int m_wanted;
};

}  // namespace

void OpenWideEnoughForColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>();
    if (view == nullptr) return;
    QHeaderView* header = view->header();
    if (header->count() < kColumns) return;

    int wanted = header->sectionSize(0);  // the name column keeps its width
    for (int column = kSize; column < kColumns; ++column) {
        int width = std::max(header->sectionSize(column), header->sectionSizeHint(column));
        for (const QString& sample : SamplesFor(column)) width = std::max(width, CellWidth(*view, sample));
        header->resizeSection(column, width);
        wanted += width;
    }
    // Room for the scroll bar that a long listing brings.
    wanted += view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view->verticalScrollBar());
    dialog.installEventFilter(new GrowOnShow(dialog, *view, wanted));
}
