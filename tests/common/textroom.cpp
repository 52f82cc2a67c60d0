#include "textroom.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <QtMath>
#include <QToolButton>

namespace
{

// The text as drawn: a single "&" marks a shortcut and takes no room.
QString shownText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("&&"), QString(QChar(0x1)));
    shown.remove(QLatin1Char('&'));
    shown.replace(QChar(0x1), QLatin1Char('&'));
    return shown;
}

// Trailing blanks pad a text but show nothing: cutting them cuts nothing a user sees.
int lineWidth(const QFontMetrics &metrics, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        int end = line.size();
        while (end > 0 && line.at(end - 1).isSpace())
            --end;
        widest = qMax(widest, metrics.horizontalAdvance(line.left(end)));
    }
    return widest;
}

QString widgetName(const QWidget *widget, const QWidget *window)
{
    QString name = QLatin1String(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        name += QLatin1Char(' ') + widget->objectName();
    for (const QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (!up->objectName().isEmpty() && !up->objectName().startsWith(QLatin1String("qt_"))) {
            name += QStringLiteral(" in ") + up->objectName();
            break;
        }
    }
    return name;
}

struct Finding {
    QString what;
    QString text;
    int needed;
    int room;
};

void checkLabel(const QLabel *label, QList<Finding> *out)
{
    if (label->text().isEmpty() || label->wordWrap())
        return;
    const bool rich = label->textFormat() == Qt::RichText
                      || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    int needed = 0;
    QString plain = label->text();
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(label->text());
        needed = qCeil(document.idealWidth());
        plain = document.toPlainText();
    } else {
        needed = lineWidth(label->fontMetrics(), label->buddy() ? shownText(plain) : plain);
    }
    int indent = label->indent();
    if (indent < 0)
        indent = label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    const int room = label->contentsRect().width() - 2 * label->margin() - indent;
    if (needed > room)
        out->append({ QStringLiteral("label"), plain, needed, room });
}

void checkButton(QAbstractButton *button, QList<Finding> *out)
{
    const QString text = shownText(button->text());
    if (text.isEmpty())
        return;
    const QFontMetrics metrics = button->fontMetrics();
    const int iconRoom = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    int needed = lineWidth(metrics, text);
    int room = 0;
    QStyle *style = button->style();
    if (auto *tool = qobject_cast<QToolButton *>(button)) {
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return;
        if (tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
            needed += iconRoom;
        room = tool->width() - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tool);
    } else if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const bool check = qobject_cast<QCheckBox *>(button);
        room = style->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option,
                                     button)
                   .width();
        needed += iconRoom;
    } else if (auto *push = qobject_cast<QPushButton *>(button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.features = push->isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        if (push->menu())
            option.features |= QStyleOptionButton::HasMenu;
        option.text = push->text();
        room = style->subElementRect(QStyle::SE_PushButtonContents, &option, push).width();
        if (push->menu())
            room -= style->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, push);
        needed += iconRoom;
    } else {
        room = button->contentsRect().width();
    }
    if (needed > room)
        out->append({ QStringLiteral("button"), text, needed, room });
}

void checkGroupBox(QGroupBox *box, QList<Finding> *out)
{
    if (box->title().isEmpty())
        return;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    option.textAlignment = box->alignment();
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int needed = box->fontMetrics().horizontalAdvance(shownText(box->title()));
    const int room = qMin(label.width(), box->width() - qMax(0, label.left()));
    if (needed > room)
        out->append({ QStringLiteral("group box title"), box->title(), needed, room });
}

void checkTabs(QTabBar *bar, QList<Finding> *out)
{
    const int frame = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i))
            continue;
        const QString text = shownText(bar->tabText(i));
        const int iconRoom = bar->tabIcon(i).isNull() ? 0 : bar->iconSize().width() + 4;
        const int needed = bar->fontMetrics().horizontalAdvance(text) + frame + iconRoom;
        const int room = bar->tabRect(i).width();
        if (needed > room)
            out->append({ QStringLiteral("tab %1").arg(i), text, needed, room });
    }
}

void checkHeader(QHeaderView *header, QList<Finding> *out)
{
    QAbstractItemModel *model = header->model();
    if (!model)
        return;
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i) || header->sectionSize(i) <= 0)
            continue;
        const QString text = model->headerData(i, header->orientation(), Qt::DisplayRole).toString();
        if (text.isEmpty())
            continue;
        const QVariant fontData = model->headerData(i, header->orientation(), Qt::FontRole);
        QFont font = fontData.canConvert<QFont>() ? fontData.value<QFont>() : header->font();
        // The current cell's section shows in bold.
        font.setBold(font.bold() || header->highlightSections());
        int needed = lineWidth(QFontMetrics(font), text) + 2 * margin;
        if (header->isSortIndicatorShown() && header->sortIndicatorSection() == i)
            needed += header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) + margin;
        const int room = header->orientation() == Qt::Horizontal ? header->sectionSize(i) : header->width();
        if (needed > room)
            out->append({ QStringLiteral("header section %1").arg(i), text, needed, room });
    }
}

// A combo box keeps its width; what must show whole is its drop-down list, as wide as the box or the
// list's own least width, less the list's frame, its scroll bar and a few pixels of item margin.
void checkCombo(QComboBox *combo, QList<Finding> *out)
{
    QAbstractItemView *view = combo->view();
    const bool bar = combo->count() > combo->maxVisibleItems();
    // A list's greatest width caps the popup's, whatever its least width asks.
    const int room = qMin(qMax(combo->width(), view->minimumWidth()), view->maximumWidth()) - 2 * view->frameWidth()
        - 8 - (bar ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) : 0);
    // Only a list as wide as the screen, its popup's frame included, may cut an entry longer still.
    const int screen = qMin(1366, combo->screen()->availableGeometry().width());
    if (view->window()->minimumSizeHint().width() > screen)
        out->append({ QStringLiteral("list"), combo->itemText(0), view->window()->minimumSizeHint().width(), screen });
    for (int i = 0; i < combo->count(); ++i) {
        const QString text = combo->itemText(i);
        const int iconRoom = combo->itemIcon(i).isNull() ? 0 : combo->iconSize().width() + 4;
        const int needed = combo->fontMetrics().horizontalAdvance(text) + iconRoom;
        if (needed > room && view->window()->minimumSizeHint().width() < screen)
            out->append({ QStringLiteral("list item %1").arg(i), text, needed, room });
    }
    // Its field may show the start of a long text, never less than six characters of it.
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const int field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    const int needed = combo->fontMetrics().horizontalAdvance(combo->currentText());
    if (needed > field && field < 6 * combo->fontMetrics().horizontalAdvance(QLatin1Char('X')))
        out->append({ QStringLiteral("field"), combo->currentText(), needed, field });
}

} // namespace

QStringList cutTexts(QWidget *window, const QString &windowName, const QString &language)
{
    QStringList report;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        if (widget != window && !widget->isVisibleTo(window))
            continue;
        QList<Finding> found;
        if (auto *label = qobject_cast<QLabel *>(widget))
            checkLabel(label, &found);
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            checkButton(button, &found);
        else if (auto *box = qobject_cast<QGroupBox *>(widget))
            checkGroupBox(box, &found);
        else if (auto *bar = qobject_cast<QTabBar *>(widget))
            checkTabs(bar, &found);
        else if (auto *header = qobject_cast<QHeaderView *>(widget))
            checkHeader(header, &found);
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            checkCombo(combo, &found);
        for (const Finding &f : found)
            report.append(QStringLiteral("%1, %2: %3 %4 \"%5\" needs %6 px, has %7")
                              .arg(language, windowName, widgetName(widget, window), f.what, f.text)
                              .arg(f.needed)
                              .arg(f.room));
    }
    return report;
}
