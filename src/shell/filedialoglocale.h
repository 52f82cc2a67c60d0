#pragma once

// Qt's file dialog writes a file's size and date in the system's locale (QLocale::system(), which
// QLocale::setDefault does not move), whatever language its catalogue speaks. Under Chinese the
// detail view of Qt's own dialog writes them in the language; English keeps the system's. No
// locale of the program changes: what it formats and parses stays as it was.

#include <QStyledItemDelegate>

// Watches the application for file dialogs from the first call on.
void writeFileDialogColumnsInTheLanguage();

// The delegate of the detail view's size and date columns.
class FileColumnsInLanguage : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // What the cell shows.
    QString text(const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
