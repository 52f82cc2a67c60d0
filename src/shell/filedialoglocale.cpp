#include "shell/filedialoglocale.h"

#include "platform/appstate.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>

namespace
{

const int SizeColumn = 1;
const int DateColumn = 3;

// False for English, which keeps the system's locale as Qt's dialog has it.
bool languageLocale(QLocale *locale)
{
    if (g_language != 1 && g_language != 2)
        return false;
    *locale = g_language == 1 ? QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China)
                              : QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    return true;
}

class FileDialogWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A native dialog has no view of Qt's; Qt's own has built its view by the time it shows.
        if (event->type() != QEvent::Show || !qobject_cast<QFileDialog *>(watched))
            return false;
        auto *view = watched->findChild<QTreeView *>(QStringLiteral("treeView"));
        if (!view || dynamic_cast<FileColumnsInLanguage *>(view->itemDelegateForColumn(DateColumn)))
            return false;
        auto *columns = new FileColumnsInLanguage(view);
        view->setItemDelegateForColumn(SizeColumn, columns);
        view->setItemDelegateForColumn(DateColumn, columns);
        // Qt sizes the date column for "10/29/81 02:02PM"; a Chinese date runs wider.
        QLocale locale;
        if (languageLocale(&locale)) {
            const QString widest = locale.toString(QDateTime(QDate(2000, 12, 28), QTime(22, 22)), QLocale::ShortFormat);
            const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            QHeaderView *header = view->header();
            header->resizeSection(DateColumn,
                qMax(header->sectionSize(DateColumn), view->fontMetrics().horizontalAdvance(widest) + 2 * margin));
        }
        return false;
    }
};

} // namespace

void writeFileDialogColumnsInTheLanguage()
{
    static const bool installed = [] {
        QCoreApplication *application = QCoreApplication::instance();
        application->installEventFilter(new FileDialogWatcher(application));
        return true;
    }();
    Q_UNUSED(installed)
}

QString FileColumnsInLanguage::text(const QModelIndex &index) const
{
    const auto *model = qobject_cast<const QFileSystemModel *>(index.model());
    QLocale locale;
    if (!model || !languageLocale(&locale))
        return index.data().toString();
    if (index.column() == DateColumn)
        return locale.toString(model->lastModified(index), QLocale::ShortFormat);
    // A folder shows no size.
    if (index.column() == SizeColumn && !model->isDir(index))
        return locale.formattedDataSize(model->size(index));
    return index.data().toString();
}

void FileColumnsInLanguage::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = text(index);
}
