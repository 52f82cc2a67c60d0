#include "shell/textfit.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QStyleOption>
#include <QTextDocument>
#include <QToolButton>
#include <QTimer>
#include <QToolTip>
#include <QtMath>

namespace
{

// What a widget was built with and what fitting gave it, so the next fit can tell whether the
// program has changed it since and, if not, start again from the built size.
const char DesignGeometry[] = "textfitDesignGeometry";
const char FittedGeometry[] = "textfitFittedGeometry";
const char DesignLimits[] = "textfitDesignLimits";
const char FittedLimits[] = "textfitFittedLimits";
const char DesignSections[] = "textfitDesignSections";
const char FittedSections[] = "textfitFittedSections";

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

int labelShortfall(const QLabel *label)
{
    if (label->text().isEmpty() || label->wordWrap() || dynamic_cast<const ElidingLabel *>(label))
        return 0;
    int needed = 0;
    if (label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(label->text());
        needed = qCeil(document.idealWidth());
    } else {
        needed = lineWidth(label->fontMetrics(), label->buddy() ? shownText(label->text()) : label->text());
    }
    int indent = label->indent();
    if (indent < 0)
        indent = label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    return needed - (label->contentsRect().width() - 2 * label->margin() - indent);
}

int buttonShortfall(QAbstractButton *button)
{
    const QString text = shownText(button->text());
    if (text.isEmpty())
        return 0;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    int indicator = 0;
    if (qobject_cast<QCheckBox *>(button)) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<QRadioButton *>(button)) {
        contents = QStyle::SE_RadioButtonContents;
    } else if (auto *push = qobject_cast<QPushButton *>(button)) {
        if (push->isFlat())
            option.features |= QStyleOptionButton::Flat;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        if (push->menu()) {
            option.features |= QStyleOptionButton::HasMenu;
            indicator = button->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, button);
        }
    } else if (auto *tool = qobject_cast<QToolButton *>(button)) {
        // The main window's tool-bar buttons fit their text by their font instead; those left with a
        // cut text grow like the rest.
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return 0;
        const int frame = tool->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tool);
        const int beside = tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon && !tool->icon().isNull()
                               ? tool->iconSize().width() + 4
                               : 0;
        return lineWidth(tool->fontMetrics(), text) + beside - (tool->width() - 2 * frame);
    } else {
        return 0;
    }
    const int room = button->style()->subElementRect(contents, &option, button).width() - indicator;
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return lineWidth(button->fontMetrics(), text) + icon - room;
}

int groupBoxShortfall(QGroupBox *box)
{
    if (box->title().isEmpty())
        return 0;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    option.textAlignment = box->alignment();
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int room = qMin(label.width(), box->width() - qMax(0, label.left()));
    return box->fontMetrics().horizontalAdvance(shownText(box->title())) - room;
}

bool managedByLayout(QWidget *widget);
void rememberDesign(QWidget *widget);
void rememberFitted(QWidget *widget);

// The least width a combo box's layout may squeeze it to, in characters: the field then shows the
// start of its text and the list below still shows every entry whole.
const int ComboLeastCharacters = 6;

// A combo box keeps the width it was built with; its drop-down list widens to its longest entry.
void fitComboList(QComboBox *combo)
{
    // A combo box measures its texts once and keeps that size hint through a change of its texts (its
    // policy AdjustToContentsOnFirstShow): a change of policy makes it measure the texts it has now.
    const QComboBox::SizeAdjustPolicy policy = combo->sizeAdjustPolicy();
    combo->setSizeAdjustPolicy(
        policy == QComboBox::AdjustToContents ? QComboBox::AdjustToContentsOnFirstShow : QComboBox::AdjustToContents);
    combo->setSizeAdjustPolicy(policy);
    // A layout would keep the box as wide as its longest entry; an explicit least width lets it squeeze.
    if (combo->minimumWidth() == 0 && managedByLayout(combo)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        const QSize text(ComboLeastCharacters * combo->fontMetrics().horizontalAdvance(QLatin1Char('X')),
                         combo->fontMetrics().height());
        const int least = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo).width();
        rememberDesign(combo);
        combo->setMinimumWidth(qMin(least, combo->sizeHint().width()));
        rememberFitted(combo);
    }
    QAbstractItemView *view = combo->view();
    if (!view || combo->count() == 0)
        return;
    const int frame = 2 * view->frameWidth();
    const int bar = combo->count() > combo->maxVisibleItems()
                        ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view)
                        : 0;
    int longest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        const int icon = combo->itemIcon(i).isNull() ? 0 : combo->iconSize().width() + 4;
        longest = qMax(longest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)) + icon);
    }
    // An entry stands a few pixels in from either side of the list. Qt gives the popup, a frame around
    // the list, at least the list's least width: beyond the screen's, it would leave the screen.
    const auto *popup = qobject_cast<const QFrame *>(view->parentWidget());
    const int screen = qMin(1366, combo->screen()->availableGeometry().width()) - (popup ? 2 * popup->frameWidth() : 0);
    view->setMinimumWidth(qMin(qMax(view->minimumWidth(), longest + 16 + frame + bar), screen));
}

// How much wider the widget must be to show its text whole; zero or less when it fits.
int shortfall(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return labelShortfall(label);
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return buttonShortfall(button);
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        return groupBoxShortfall(box);
    return 0;
}

bool managedByLayout(QWidget *widget)
{
    QWidget *parent = widget->parentWidget();
    if (!parent || widget->isWindow() || !parent->layout())
        return false;
    QList<QLayout *> layouts = parent->findChildren<QLayout *>();
    layouts.append(parent->layout());
    for (QLayout *layout : layouts)
        if (layout->indexOf(widget) >= 0)
            return true;
    return false;
}

QVariant limitsOf(const QWidget *widget)
{
    return QVariantList { widget->minimumWidth(), widget->maximumWidth() };
}

void rememberDesign(QWidget *widget)
{
    if (!widget->property(DesignGeometry).isValid())
        widget->setProperty(DesignGeometry, widget->geometry());
    if (!widget->property(DesignLimits).isValid())
        widget->setProperty(DesignLimits, limitsOf(widget));
}

void rememberFitted(QWidget *widget)
{
    widget->setProperty(FittedGeometry, widget->geometry());
    widget->setProperty(FittedLimits, limitsOf(widget));
}

void activateLayouts(QWidget *window)
{
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    // A widget placed without a layout (a tab widget's page stack) passes a change of its children's
    // sizes on only once shown: its layout item would answer from an old cache.
    for (int i = widgets.size() - 1; i > 0; --i)
        widgets.at(i)->updateGeometry();
    for (int i = widgets.size() - 1; i >= 0; --i)
        if (widgets.at(i)->layout())
            widgets.at(i)->layout()->activate();
}

// Undoes an earlier fit on every widget the program has not changed since.
void restoreDesign(QWidget *window)
{
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        if (widget->property(FittedLimits).isValid()) {
            const QVariantList design = widget->property(DesignLimits).toList();
            if (limitsOf(widget) == widget->property(FittedLimits) && design.size() == 2) {
                widget->setMinimumWidth(design.at(0).toInt());
                widget->setMaximumWidth(design.at(1).toInt());
            }
        }
        if (widget->property(FittedGeometry).isValid() && widget->geometry() == widget->property(FittedGeometry))
            widget->setGeometry(widget->property(DesignGeometry).toRect());
        for (const char *name : { DesignGeometry, FittedGeometry, DesignLimits, FittedLimits })
            widget->setProperty(name, QVariant());
        if (auto *header = qobject_cast<QHeaderView *>(widget)) {
            const QVariantList fitted = header->property(FittedSections).toList();
            const QVariantList design = header->property(DesignSections).toList();
            bool unchanged = fitted.size() == header->count();
            for (int i = 0; unchanged && i < header->count(); ++i)
                unchanged = header->sectionSize(i) == fitted.at(i).toInt();
            if (unchanged && design.size() == header->count())
                for (int i = 0; i < header->count(); ++i)
                    header->resizeSection(i, design.at(i).toInt());
            header->setProperty(FittedSections, QVariant());
            header->setProperty(DesignSections, QVariant());
        }
    }
}

void grow(QWidget *widget, int extra);

// The least width the window's layout gives its contents. Before a main window is shown its tool bars
// count every button in one row; shown, they fold what does not fit behind their extension button, so
// only the central widget and the side docks count then.
int leastWidth(QWidget *window)
{
    auto *main = qobject_cast<QMainWindow *>(window);
    if (!main || main->isVisible() || !main->centralWidget())
        return window->layout()->totalMinimumSize().width();
    const auto least = [](QWidget *widget) {
        return widget->minimumWidth() > 0 ? widget->minimumWidth() : widget->minimumSizeHint().width();
    };
    int width = least(main->centralWidget());
    for (QDockWidget *dock : main->findChildren<QDockWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const Qt::DockWidgetArea area = main->dockWidgetArea(dock);
        if (!dock->isHidden() && (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea))
            width += least(dock) + main->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, main);
    }
    return width;
}

// A window whose contents outgrew it grows with them; a fixed window stays fixed at its new size.
// With holdMinimum a resizable one can no longer be made narrower either, as that would cut the text
// again (a window maximized on a small screen, or made small by the user).
void growWindow(QWidget *window, int width, bool holdMinimum = false)
{
    // Never past a laptop's screen (1366 x 768 less a panel): there a text is cut rather than the window.
    width = qMin(width, 1366);
    const bool fixed = window->minimumWidth() == window->maximumWidth();
    if (width <= window->width() && width <= window->maximumWidth() && (!holdMinimum || width <= window->minimumWidth()))
        return;
    rememberDesign(window);
    if (fixed || window->maximumWidth() < width) {
        window->setMaximumWidth(qMax(window->maximumWidth(), width));
        if (fixed)
            window->setMinimumWidth(width);
    }
    if (holdMinimum && window->minimumWidth() < width)
        window->setMinimumWidth(width);
    if (window->width() < width)
        window->resize(width, window->height());
    rememberFitted(window);
}

// Widens a widget by extra pixels: through its limits when a layout places it, else by its geometry,
// moving the siblings beside it on its right and widening its parent when they no longer fit.
void grow(QWidget *widget, int extra)
{
    if (extra <= 0)
        return;
    if (widget->isWindow()) {
        growWindow(widget, widget->width() + extra);
        return;
    }
    rememberDesign(widget);
    const int width = widget->width() + extra;
    if (managedByLayout(widget)) {
        widget->setMinimumWidth(qMax(widget->minimumWidth(), width));
        if (widget->maximumWidth() < width)
            widget->setMaximumWidth(width);
        rememberFitted(widget);
        return;
    }
    const QRect old = widget->geometry();
    widget->resize(width, widget->height());
    rememberFitted(widget);
    QWidget *parent = widget->parentWidget();
    for (QWidget *sibling : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect r = sibling->geometry();
        if (sibling == widget || sibling->isWindow() || r.left() < old.left() + old.width())
            continue;
        if (r.bottom() < old.top() || r.top() > old.bottom())
            continue;
        rememberDesign(sibling);
        sibling->move(r.left() + extra, r.top());
        rememberFitted(sibling);
    }
}

// A container without a layout is as wide as the children it places.
void holdChildren(QWidget *container)
{
    // Only plain containers: views, scroll areas and the like show part of their children on purpose.
    const QByteArray kind = container->metaObject()->className();
    const bool plain = container->isWindow()
                       || ((kind == "QWidget" || kind == "QFrame" || kind == "QGroupBox")
                           && !container->objectName().startsWith(QLatin1String("qt_")));
    if (container->layout() || !plain)
        return;
    // Only what a fit widened or moved counts: the built layout stays as it was made.
    int right = 0;
    for (QWidget *child : container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !child->isHidden() && child->property(FittedGeometry).isValid())
            right = qMax(right, child->geometry().right() + 1);
    if (container->isWindow())
        growWindow(container, right);
    else
        grow(container, right - container->width());
}

// What the section's header text needs, 0 for none.
int sectionTextWidth(const QHeaderView *header, int section)
{
    const QAbstractItemModel *model = header->model();
    const QString text = model->headerData(section, header->orientation(), Qt::DisplayRole).toString();
    if (text.isEmpty())
        return 0;
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const QVariant fontData = model->headerData(section, header->orientation(), Qt::FontRole);
    QFont font = fontData.canConvert<QFont>() ? fontData.value<QFont>() : header->font();
    // The section of the current cell shows its text in bold.
    if (header->highlightSections())
        font.setBold(true);
    int needed = lineWidth(QFontMetrics(font), text) + 2 * margin;
    if (header->isSortIndicatorShown() && header->sortIndicatorSection() == section)
        needed += header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) + margin;
    return needed;
}

void fitHeader(QHeaderView *header)
{
    QAbstractItemModel *model = header->model();
    if (!model || header->orientation() != Qt::Horizontal || header->isHidden())
        return;
    QVariantList design;
    bool grown = false;
    for (int i = 0; i < header->count(); ++i) {
        design.append(header->sectionSize(i));
        const QHeaderView::ResizeMode mode = header->sectionResizeMode(i);
        if (header->isSectionHidden(i) || (mode != QHeaderView::Interactive && mode != QHeaderView::Fixed))
            continue;
        const int needed = sectionTextWidth(header, i);
        if (needed > 0 && header->sectionSize(i) < needed) {
            header->resizeSection(i, needed);
            grown = true;
        }
    }
    if (!grown)
        return;
    QVariantList fitted;
    for (int i = 0; i < header->count(); ++i)
        fitted.append(header->sectionSize(i));
    header->setProperty(DesignSections, design);
    header->setProperty(FittedSections, fitted);
}

class ElidedToolTips : public QObject
{
public:
    explicit ElidedToolTips(QAbstractItemView *view)
        : QObject(view)
        , m_view(view)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip || watched != m_view->viewport())
            return false;
        auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = m_view->indexAt(help->pos());
        if (!index.isValid() || !index.data(Qt::ToolTipRole).toString().isEmpty())
            return false;
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty())
            return false;
        QStyleOptionViewItem option;
        option.initFrom(m_view->viewport());
        option.font = m_view->font();
        option.fontMetrics = QFontMetrics(option.font);
        const int small = m_view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_view);
        option.decorationSize = m_view->iconSize().isValid() ? m_view->iconSize() : QSize(small, small);
        option.features = QStyleOptionViewItem::HasDisplay;
        const QRect cell = m_view->visualRect(index);
        const int needed = m_view->itemDelegate(index)->sizeHint(option, index).width();
        // A cell cut by the view's right edge hides the text's end as well as eliding it.
        const int shown = qMin(cell.width(), m_view->viewport()->width() - cell.left());
        if (needed <= shown) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(help->globalPos(), text, m_view->viewport(), cell);
        return true;
    }

private:
    QAbstractItemView *m_view;
};

// One column is as wide as its longest text and takes the width the others leave; the others are as
// wide as their header and cells need, refitted when the rows or the header texts change (a new list, a
// language) and widened at once for a longer value.
class ColumnFiller : public QObject
{
public:
    ColumnFiller(QTableView *view, int column)
        : QObject(view)
        , m_view(view)
        , m_viewport(view->viewport())
        , m_column(column)
        , m_least(view->horizontalHeader()->sectionSize(column))
    {
        QHeaderView *header = view->horizontalHeader();
        connect(header, &QHeaderView::geometriesChanged, this, &ColumnFiller::fill);
        connect(header, &QHeaderView::sectionResized, this, [this](int section) {
            if (section != m_column)
                fill();
        });
        view->viewport()->installEventFilter(this);
        m_refit.setSingleShot(true);
        m_refit.setInterval(0);
        connect(&m_refit, &QTimer::timeout, this, &ColumnFiller::fit);
        const QAbstractItemModel *model = view->model();
        auto refitLater = [this] { m_refit.start(); };
        connect(model, &QAbstractItemModel::modelReset, this, refitLater);
        connect(model, &QAbstractItemModel::rowsInserted, this, refitLater);
        connect(model, &QAbstractItemModel::rowsRemoved, this, refitLater);
        connect(model, &QAbstractItemModel::headerDataChanged, this, refitLater);
        connect(header, &QHeaderView::sortIndicatorChanged, this, refitLater);
        connect(model, &QAbstractItemModel::dataChanged, this, &ColumnFiller::widen);
    }

    void fit()
    {
        m_refit.stop();
        if (!m_view)
            return;
        QHeaderView *header = m_view->horizontalHeader();
        for (int c = 0; c < header->count(); ++c) {
            const int text = sectionTextWidth(header, c);
            const int air = text > 0 ? header->fontMetrics().averageCharWidth() : 0;
            const int width = qMax(text + air, cellsWidth(c, 0, m_view->model()->rowCount() - 1));
            if (c == m_column)
                m_longest = width;
            // A hidden section keeps the size for when it is shown again.
            else if (width > 0 && (header->isSectionHidden(c) || width != header->sectionSize(c)))
                header->resizeSection(c, width);
        }
        fill();
    }

    void keepWhole(int column) { m_lastWhole = column; }

    void fill()
    {
        if (!m_view)
            return;
        QHeaderView *header = m_view->horizontalHeader();
        if (m_column >= header->count() || header->isSectionHidden(m_column))
            return;
        // The columns past the last one kept whole may lie beyond the view's edge, reached by scrolling
        // sideways, before the column cuts a text.
        const int lastWhole = m_lastWhole >= 0 && m_lastWhole < header->count() ? header->visualIndex(m_lastWhole)
                                                                                : header->count() - 1;
        int others = 0;
        int beside = 0;
        for (int i = 0; i < header->count(); ++i) {
            if (i == m_column || header->isSectionHidden(i))
                continue;
            others += header->sectionSize(i);
            if (header->visualIndex(i) <= lastWhole)
                beside += header->sectionSize(i);
        }
        const int room = m_view->viewport()->width();
        const int width = qMax(m_least, qMax(room - others, qMin(m_longest, room - beside)));
        if (width != header->sectionSize(m_column))
            header->resizeSection(m_column, width);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The viewport goes while the view is being destroyed and is no table any more: only a resize,
        // which comes while the view lives, may reach into the view.
        if (event->type() == QEvent::Resize && watched == m_viewport && m_view)
            fill();
        return false;
    }

private:
    // A value read or typed only widens its column: narrowing it under the user's eyes would move
    // every column beside it.
    void widen(const QModelIndex &topLeft, const QModelIndex &bottomRight)
    {
        if (m_refit.isActive() || !m_view)
            return;
        QHeaderView *header = m_view->horizontalHeader();
        for (int c = topLeft.column(); c <= bottomRight.column(); ++c) {
            if (c == m_column) {
                const int longest = qMax(m_longest, cellsWidth(c, topLeft.row(), bottomRight.row()));
                if (longest != m_longest) {
                    m_longest = longest;
                    fill();
                }
                continue;
            }
            if (header->isSectionHidden(c))
                continue;
            const int width = cellsWidth(c, topLeft.row(), bottomRight.row());
            if (width > header->sectionSize(c))
                header->resizeSection(c, width);
        }
    }

    int cellsWidth(int column, int first, int last) const
    {
        const QAbstractItemModel *model = m_view->model();
        const QFontMetrics viewMetrics(m_view->font());
        // The item's own margins, as the style draws them, and a little air.
        const int padding = 2 * (m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1)
                            + viewMetrics.averageCharWidth();
        int widest = 0;
        for (int row = first; row <= last; ++row) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data(Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            const QVariant font = index.data(Qt::FontRole);
            const int width = font.canConvert<QFont>() ? QFontMetrics(font.value<QFont>()).horizontalAdvance(text)
                                                       : viewMetrics.horizontalAdvance(text);
            widest = qMax(widest, width + padding);
        }
        return widest;
    }

    QPointer<QTableView> m_view;
    QObject *m_viewport;
    int m_column;
    int m_least;
    int m_longest = 0;
    int m_lastWhole = -1;
    QTimer m_refit;
};

} // namespace

void fitTexts(QWidget *window)
{
    // Sizes measured before the style has polished a widget differ from those it shows with.
    window->ensurePolished();
    restoreDesign(window);
    activateLayouts(window);
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        if (auto *header = qobject_cast<QHeaderView *>(widget))
            fitHeader(header);
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            fitComboList(combo);
        else if (!widget->isWindow())
            grow(widget, shortfall(widget));
    }
    // Children first, so a container knows what it must hold.
    for (int i = widgets.size() - 1; i >= 0; --i)
        if (!widgets.at(i)->isWindow() || widgets.at(i) == window)
            holdChildren(widgets.at(i));
    activateLayouts(window);
    // A layout may squeeze its widgets below their wishes without cutting a text, so the window
    // grows only while a text is still cut, by the widest cut.
    for (int round = 0; window->layout() && window->isWindow() && round < 20; ++round) {
        // What is not on screen (a window not yet shown, a page a tab does not show) keeps its old
        // geometry until shown: the minimum widths given above hold it, and the layout's minimum
        // takes them in.
        int widest = 0;
        for (QWidget *widget : widgets)
            if (window->isVisible() && !widget->isWindow() && managedByLayout(widget) && widget->isVisible())
                widest = qMax(widest, shortfall(widget));
        const int needed = leastWidth(window);
        if (widest <= 0 && needed <= window->width())
            break;
        // A minimum set below what the layout needs squeezes every text at once: that need comes first.
        const QSize before(window->width(), window->minimumWidth());
        growWindow(window, needed > window->width() ? needed : window->width() + widest, true);
        // A window that cannot grow (maximized, or at the screen's width) keeps what it has.
        if (QSize(window->width(), window->minimumWidth()) == before)
            break;
        activateLayouts(window);
    }
}

void showElidedTextsAsToolTips(QAbstractItemView *view)
{
    view->viewport()->installEventFilter(new ElidedToolTips(view));
}

void giveColumnTheRest(QTableView *view, int column, int lastWhole)
{
    // Called again, as when columns were shown or hidden, it fits them once more.
    const QString name = QStringLiteral("textfitColumnFiller%1").arg(column);
    auto *filler = static_cast<ColumnFiller *>(view->findChild<QObject *>(name, Qt::FindDirectChildrenOnly));
    if (!filler) {
        filler = new ColumnFiller(view, column);
        filler->setObjectName(name);
    }
    filler->keepWhole(lastWhole);
    filler->fit();
}

void fitWindowTitle(QWidget *window)
{
    // The window manager draws the title in its own face, which follows the desktop's title font
    // rather than ours, beside the window's icon and its three buttons and inside the frame's edges.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int button = qMax(metrics.height() + 8, 24);
    // Window managers' title faces run up to a third wider than the one Qt reports: the floor keeps
    // the progress titles of every catalogue whole in them.
    const int floor = 400;
    const int width = qMin(qMax(metrics.horizontalAdvance(window->windowTitle()) + 4 * button + 24, floor), 1366);
    if (window->minimumWidth() < width)
        window->setMinimumWidth(width);
}

void ElidingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect().adjusted(margin() + 2, margin(), -margin() - 2, -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    setToolTip(shown == text() ? QString() : text());
    style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(), shown, foregroundRole());
}
