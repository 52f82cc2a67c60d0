#include "monitor/monitorwidgets.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

QToolButton *iconTextButton(const QString &icon, const QString &text)
{
    auto *button = new QToolButton();
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(48, 48);
    button->setIcon(QIcon(QStringLiteral(":/new prefix/images/") + icon));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    return button;
}

QLabel *driveInfoLabel(const QString &text)
{
    QFont font;
    font.setPixelSize(16);
    font.setBold(true);
    auto *label = new QLabel(text);
    label->setStyleSheet(QStringLiteral("QLabel{color:darkMagenta;}"));
    label->setFont(font);
    return label;
}

QWidget *driveInfoColumn(const QList<QPair<QLabel *, QLabel *>> &rows, Qt::Alignment valueAlignment)
{
    auto *widget = new QWidget();
    auto *column = new QVBoxLayout(widget);
    for (const auto &r : rows) {
        auto *row = new QHBoxLayout();
        row->addWidget(r.first);
        row->addSpacing(10);
        row->addWidget(r.second, 0, valueAlignment);
        column->addLayout(row);
    }
    return widget;
}
