#include "parameter/parameter.h"

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "parameter/comparison.h"
#include "parameter/parameterdefinitions.h"
#include "parameter/paramtext.h"
#include "parameter/parinformation.h"
#include "parameter/relatedunits.h"
#include "parameter/search.h"
#include "parameter/selection.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/textfit.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyleOptionHeader>
#include <QTextStream>
#include <QXmlStreamReader>
#include <cmath>

using namespace ParamText;

namespace {

constexpr Qt::ItemFlags ReadOnlyCell = Qt::ItemIsSelectable | Qt::ItemIsEnabled;

// Row numbers run to 1600, but the header takes its width from the first and last hundred rows shown,
// which may all have three digits. Measured as the header measures a section: in bold, for the
// current row's number.
void fitRowNumbers(QHeaderView *header)
{
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Vertical;
    QFont font = header->font();
    font.setBold(true);
    option.fontMetrics = QFontMetrics(font);
    int width = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        option.text = QString(4, QLatin1Char(digit));
        const QSize size = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
        width = qMax(width, size.width());
    }
    header->setMinimumWidth(width);
}

bool featureEnabled(const char *key)
{
    return isFeatureEnabled(QLatin1String(key));
}

QTableWidgetItem *newItem(const QString &text, int column)
{
    auto *item = new QTableWidgetItem(text);
    if (column != 10)
        item->setFlags(ReadOnlyCell);
    return item;
}

} // namespace

CParameter::CParameter(QWidget *parent)
    : QWidget(parent)
{
    setupUi(this);
    g_batchTransfer = false;
    compareResult = new CompareResult(nullptr);
    compareResult->hide();
    parInformation = new ParInformation(nullptr);
    tableRows = ParameterRows;
    for (QString &text : defaultValues)
        text = QStringLiteral("--");

    PartableWidget->setMouseTracking(true);
    fitRowNumbers(PartableWidget->verticalHeader());
    showElidedTextsAsToolTips(PartableWidget);
    // The names take the room up to "Setting value", the column a technician edits; Comment may lie
    // beyond the edge of a laptop's screen.
    giveColumnTheRest(PartableWidget, 3, 10);
    setAttribute(Qt::WA_Hover);

    connect(IndexPB, &QPushButton::clicked, this, &CParameter::CallIndexDialog);
    connect(allReadPB, &QPushButton::clicked, this, &CParameter::ReadAllPar);
    connect(readPB, &QPushButton::clicked, this, &CParameter::ReadSinglePar);
    connect(writePB, &QPushButton::clicked, this, &CParameter::WriteSinglePar);
    connect(ClearCurParPB, &QPushButton::clicked, this, &CParameter::ClearCurrentVal);
    connect(ClearSetValPB, &QPushButton::clicked, this, &CParameter::ClearSettingVal);
    connect(Pr996PB, &QPushButton::clicked, this, &CParameter::Execute996);
    connect(Pr997PB, &QPushButton::clicked, this, &CParameter::Execute997);
    connect(Pr998PB, &QPushButton::clicked, this, &CParameter::Execute998);
    connect(Pr999PB, &QPushButton::clicked, this, &CParameter::Execute999);
    connect(AllWrite, &QPushButton::clicked, this, &CParameter::WriteAllParClicked);
    connect(savePB, &QPushButton::clicked, this, &CParameter::save);
    connect(openPB, &QPushButton::clicked, this, &CParameter::open);
    connect(selectParaCombo, QOverload<int>::of(&QComboBox::activated), this, &CParameter::selectPara);
    connect(PartableWidget->horizontalHeader(), &QHeaderView::sectionClicked, this, &CParameter::mySort);
    connect(VerifyParameter, QOverload<int>::of(&QComboBox::activated), this, &CParameter::showDifferentPar);
    connect(PartableWidget, &QTableWidget::clicked, this, &CParameter::ShowTooltip);
    connect(ParClose, &QPushButton::clicked, this, &QWidget::hide);

    PartableWidget->setStyleSheet(QStringLiteral("QTableWidget::item:selected { background-color: rgb(100,100,255)}"));
    PartableWidget->setFocus();
}

CParameter::~CParameter()
{
    delete selectDialog;
    delete compareResult;
    delete parInformation;
}

QString CParameter::cellText(int row, int column) const
{
    const QTableWidgetItem *item = PartableWidget->item(row, column);
    return item ? item->text() : QString();
}

void CParameter::setItemText(int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = PartableWidget->item(row, column))
        item->setText(text);
    else
        PartableWidget->setItem(row, column, newItem(text, column));
}

int CParameter::parameterOfRow(int row) const
{
    const QString label = cellText(row, 1);
    return label.contains(QLatin1String("P.")) ? labelNumber(label) : row;
}

bool CParameter::hasHelp(int parameter) const
{
    return !parInformation->detailText(parameter).isEmpty();
}

// A type without groups hides the group column, so its help hangs on the parameter number instead.
int CParameter::helpColumn() const
{
    return g_groupMode != 0 ? 0 : 1;
}

void CParameter::underlineHelpCell(int row, int parameter)
{
    if (parameter < 0 || parameter >= DetailTextCount || !hasHelp(parameter))
        return;
    if (QTableWidgetItem *item = PartableWidget->item(row, helpColumn())) {
        QFont font = item->font();
        font.setUnderline(true);
        item->setFont(font);
    }
}

bool CParameter::modbusColumnShown() const
{
    return g_protocolIndex != 0;
}

QString CParameter::modelInfix() const
{
    return g_modelCode == QLatin1String("0") ? QString() : g_modelCode;
}

// ---- Rows and loading ----

void CParameter::createRow(QString group, QString number, QString name, QString range, QString unit,
                           QString defaultText, QString comment, int row)
{
    if (row < 0 || row >= PartableWidget->rowCount())
        return;
    const QStringList texts = parameterRowTexts(group, number, name, range, unit, defaultText, comment);
    for (int c = 0; c < ParameterColumns; ++c)
        PartableWidget->setItem(row, c, newItem(texts.at(c), c));
}

bool CParameter::loadingMayRead() const
{
    if (!g_readWrite)
        return false;
    if (g_connectionTest)
        return true;
    if (g_offLine)
        return false;
    const CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    return !navigation || navigation->stationTested[g_station % StationEntry::Count] != 0;
}

double CParameter::readForLoading(int parameter, double scale)
{
    // A load for a station that is off-line or untested takes its values as if the drive had not
    // answered, without ten tries and a link failure box per read. Such a skipped read is no
    // failed one: it leaves the drive look-ups on for the next load.
    if (!loadingMayRead() || m_loadUnanswered)
        return -1.0;
    bool ok = false;
    if (!g_connectionTest)
        return readFromDrive(parameter, scale, &ok);
    // The transaction layer gives a test's requests one try; the table of the drive just found
    // must not take a fallback for a reply lost on the way. A refusal is an answer, and keeps it.
    ReadWrite::PatientTries patient;
    const double value = readFromDrive(parameter, scale, &ok);
    if (!ok && !ReadWrite::lastExchangeAnswered())
        m_loadUnanswered = true;
    return value;
}

QString CParameter::referenceValue(int parameter)
{
    const QString rule = g_relatedUnitRules.value(parameter);
    if (!rule.isEmpty())
        return rule.section(QStringLiteral("//"), 0, 0);
    if (!g_driveLookupEnabled || !loadingMayRead())
        return QStringLiteral("0");
    const QString value = formatValue(readForLoading(parameter, 1.0));
    if (value == QLatin1String("-1")) {
        // A refusal is no silence; a test's load that met silence is abandoned, and the next test asks again.
        if (!m_loadUnanswered && !ReadWrite::lastExchangeAnswered())
            g_driveLookupEnabled = false;
        return QStringLiteral("0");
    }
    return value;
}

QString CParameter::pickVariant(QString text, QString capacity)
{
    return ParamText::pickVariant(text, capacity, [this](int m) { return referenceValue(m); });
}

bool CParameter::loadParameterTable()
{
    m_loadUnanswered = false;
    // Each test reads the drive afresh, whatever an earlier load found.
    if (g_connectionTest)
        g_driveLookupEnabled = true;
    loadTable();
    if (!m_loadUnanswered)
        return true;
    m_loadUnanswered = false;
    PartableWidget->clearContents();
    return false;
}

void CParameter::loadTable()
{
    parInformation->loadParameterDetails();
    PartableWidget->clearContents();
    PartableWidget->setRowCount(ParameterRows);

    switch (g_seriesLetter) {
    case 'A': case 'D': case 'I': case 'M': highestParameter = 1299; break;
    case 'L': highestParameter = 699; break;
    case 'G': case 'T': case 'X': highestParameter = 399; break;
    case 'Y': highestParameter = 369; break;
    case 'K': highestParameter = 329; break;
    case 'F': highestParameter = 299; break;
    case 'B': case 'C': case 'E': case 'H': case 'S': highestParameter = 199; break;
    default: break;
    }

    loadRelatedUnits();
    if (m_loadUnanswered)
        return;
    std::fill(std::begin(g_readOnlyFlags), std::end(g_readOnlyFlags), 0);

    ParameterGrid grid;
    const QString fileName = definitionFileName();
    if (!QFile::exists(fileName)) {
        if (g_modelCode != QLatin1String("0")) {
            // The series files serve every model without its own; later loaders follow the same choice.
            g_modelCode = QStringLiteral("0");
            loadTable();
            return;
        }
        fillTableFromGrid(grid); // placeholders only; no final steps
        return;
    }

    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        readParameterDefinitions(&file, definitionContext(), grid);
    if (m_loadUnanswered)
        return;
    fillTableFromGrid(grid);
    finishLoading();
}

QString CParameter::definitionFileName() const
{
    return g_appDir + QStringLiteral("InvParameter/") + QLatin1Char(g_seriesLetter) + modelInfix()
           + QStringLiteral("_InvParameter_Eng.xml");
}

DefinitionContext CParameter::definitionContext()
{
    DefinitionContext context;
    context.extended = g_groupMode != 0 || featureEnabled("Parameter_NotH");
    context.groupMode = g_groupMode != 0;
    context.firmware = g_firmwareVersion.toDouble();
    context.capacity = g_variantSelectorA;
    context.voltageCode = g_variantSelectorB;
    context.reference = [this](int m) { return referenceValue(m); };
    return context;
}

void CParameter::resolveGovernedRows(int selector, const QString &written)
{
    if (selector < 0 || selector >= g_relatedUnitRules.size())
        return;
    selectorKnown(selector);
    const QStringList fields = g_relatedUnitRules.at(selector).split(QStringLiteral("//"), Qt::SkipEmptyParts);
    bool number = false;
    const double value = written.toDouble(&number);
    if (fields.size() < 3 || !number)
        return;
    // The drive holds the written value now: the variants read it from the rule, as after a reload.
    g_relatedUnitRules[selector] = formatValue(value) + QStringLiteral("//") + fields.at(1) + QStringLiteral("//")
                                   + fields.at(2);
    QFile file(definitionFileName());
    if (!file.open(QIODevice::ReadOnly))
        return;
    ParameterGrid grid;
    readParameterDefinitions(&file, definitionContext(), grid);
    for (const QString &text : fields.at(2).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int n = text.trimmed().toInt(&number);
        const int row = number && n >= 0 && n < ParameterRows ? rowOfLabel(n) : -1;
        if (row < 0)
            continue;
        for (int column : { 5, 6, 7, 8 })
            setItemText(row, column, grid.at(n, column));
        defaultValues[n] = grid.defaultValues.at(n);
        attributes[n] = grid.attributes.at(n);
    }
}

void CParameter::fillTableFromGrid(const ParameterGrid &grid)
{
    QTableWidget *table = PartableWidget;
    const bool sorting = table->isSortingEnabled();
    table->setSortingEnabled(false);
    table->setUpdatesEnabled(false);
    for (int n = 0; n < ParameterRows; ++n) {
        for (int c = 0; c < ParameterColumns; ++c)
            table->setItem(n, c, newItem(grid.at(n, c), c));
        underlineHelpCell(n, n);
        defaultValues[n] = grid.defaultValues.at(n);
        attributes[n] = grid.attributes.at(n);
        g_readOnlyFlags[n] = grid.readOnly.at(n);
        if (grid.shownByGroup.at(n))
            table->showRow(n);
    }
    table->setUpdatesEnabled(true);
    table->setSortingEnabled(sorting);
}

void CParameter::finishLoading()
{
    QTableWidget *table = PartableWidget;
    selectParaCombo->setCurrentIndex(0);
    const int rows = table->rowCount();
    const int count = qBound(0, g_parameterCount, rows);
    for (int r = 0; r < count; ++r) {
        const QString name = cellText(r, 3);
        table->setRowHidden(r, name == QLatin1String("---") || name == QLatin1String("--"));
    }
    for (int r = count; r < rows; ++r) {
        if (cellText(r, 3) == QLatin1String("--") && cellText(r, 8) == QLatin1String("--"))
            table->hideRow(r);
    }
    table->setColumnHidden(0, g_groupMode == 0);
    table->setColumnHidden(2, !modbusColumnShown());

    if (g_language == 1 || g_language == 2) {
        loadLocalizedNames();
        parInformation->loadParameterDetails();
    }
    tableRows = table->rowCount();

    if (g_groupMode != 0) {
        table->showColumn(0);
        table->setCurrentCell(0, 0);
    } else {
        if (table->columnCount() == ParameterColumns)
            table->hideColumn(0);
        table->setCurrentCell(0, 1);
    }
    table->setFocus();
    table->hideColumn(4);
    table->setColumnHidden(2, !modbusColumnShown());
    mySort(1);
    showUnreadUnits();
}

// ---- Related units ----

void CParameter::loadRelatedUnits()
{
    const bool mayRead = loadingMayRead();
    readRelatedSelectors();
    if (m_loadUnanswered)
        return;
    g_relatedUnitRules = QVector<QString>(ParameterRows);
    m_selectorUnread.fill(false);
    const QString fileName = g_appDir + QStringLiteral("ParameterInforamtion/relatedUnit/") + QLatin1Char(g_seriesLetter)
                             + modelInfix() + QStringLiteral(".txt");
    for (QString &text : g_relatedUnitText)
        text = QStringLiteral("---");

    QFile file(fileName);
    if (!file.exists() && g_modelCode != QLatin1String("0")) {
        g_modelCode = QStringLiteral("0");
        loadRelatedUnits();
        return;
    }
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return;
        QTextStream in(&file);
        in.setCodec("ISO-8859-1");
        while (!in.atEnd()) {
            RelatedUnitLine line;
            if (!parseRelatedUnitLine(in.readLine(), line))
                continue;
            QString value = line.fallback;
            if (g_driveLookupEnabled && mayRead) {
                value = formatValue(readForLoading(line.selector, 1.0));
                if (m_loadUnanswered)
                    return; // the test fails and its table stays empty
                if (value == QLatin1String("-1")) {
                    value = line.fallback;
                    // A drive that refuses the selector has none; only one that stays silent is
                    // not asked again, and its P.186 and P.189 are not taken as read.
                    if (!ReadWrite::lastExchangeAnswered())
                        g_driveLookupEnabled = false;
                    m_selectorUnread[line.selector] = true;
                }
            } else if (mayRead) {
                m_selectorUnread[line.selector] = true; // a drive that fell silent before is not asked
            }
            applyRelatedUnitLine(line, value, g_relatedUnitText, g_relatedUnitRules);
        }
        file.close();
    }

    // A station whose drive was not asked gets the values of a drive that did not answer, never
    // those of the station loaded before it.
    if (!g_driveLookupEnabled || !mayRead) {
        if (featureEnabled("Parameter_readP186"))
            g_p186Value = g_seriesLetter == 'I' ? QStringLiteral("0") : QStringLiteral("1");
        g_p189Value = QStringLiteral("0");
    }
    g_relatedUnitRules[186] = g_p186Value;
    g_relatedUnitRules[189] = g_p189Value;

    // A type text without a voltage code or capacity has none: another station's would choose
    // variants that are not this drive's.
    const VariantSelectors selectors = variantSelectorsFromType(g_invType, g_p186Value);
    g_variantSelectorB = selectors.voltageSet ? selectors.voltage : QString();
    g_variantSelectorA = selectors.capacitySet ? selectors.capacity : QString();
}

// ---- Localized texts ----

QString CParameter::localizedFileName() const
{
    static const char *const suffixes[] = { "_InvParameter_Eng.xml", "_InvParameter.xml", "_InvParameter_Big.xml" };
    return g_appDir + QStringLiteral("InvParameter/") + QLatin1Char(g_seriesLetter) + modelInfix()
           + QString::fromLatin1(suffixes[g_language < 3 ? g_language : 0]);
}

void CParameter::loadLocalizedNames()
{
    localizedNamesPass(true);
    showUnreadUnits();
}

void CParameter::localizedNamesPass(bool mayResort)
{
    QTableWidget *table = PartableWidget;
    DefinitionContext context;
    context.firmware = g_firmwareVersion.toDouble();
    context.capacity = g_variantSelectorA;
    context.voltageCode = g_variantSelectorB;
    context.reference = [this](int m) { return referenceValue(m); };

    if (g_groupMode != 0) {
        if (QString(cellText(0, 1)).remove(QLatin1Char(' ')) != QLatin1String("P.0") && mayResort) {
            // Sorted by group: lay the texts over the table in parameter order, then restore the group order.
            table->sortItems(1, Qt::AscendingOrder);
            localizedNamesPass(false);
            table->sortItems(0, Qt::AscendingOrder);
            g_sortFlag = 0;
            parInformation->loadParameterDetails();
            return;
        }
        if (!QFile::exists(localizedFileName())) {
            if (g_modelCode == QLatin1String("0"))
                return;
            g_modelCode = QStringLiteral("0");
            localizedNamesPass(mayResort);
            parInformation->loadParameterDetails();
            return;
        }
        QFile file(localizedFileName());
        if (file.open(QIODevice::ReadOnly)) {
            // Rows are found by their labels, so the texts land right whatever order the table stands in.
            QVector<int> rowOf(ParameterRows, -1);
            for (int r = 0; r < table->rowCount(); ++r) {
                const QString label = cellText(r, 1);
                if (!label.contains(QLatin1String("P.")))
                    continue;
                const int n = labelNumber(label);
                if (n >= 0 && n < ParameterRows && rowOf.at(n) < 0)
                    rowOf[n] = r;
            }
            for (const LocalizedText &t : readLocalizedTexts(&file, context)) {
                if (t.number >= 0 && t.number < ParameterRows && rowOf.at(t.number) >= 0)
                    setItemText(rowOf.at(t.number), t.column, t.text);
            }
        }
        parInformation->loadParameterDetails();
        return;
    }

    QFile file(localizedFileName());
    if (file.open(QIODevice::ReadOnly)) {
        QVector<int> rowNumbers(table->rowCount(), -1);
        for (int r = 0; r < rowNumbers.size(); ++r) {
            if (table->item(r, 1))
                rowNumbers[r] = labelNumber(cellText(r, 1));
        }
        bool complete = false;
        const QVector<CellEdit> edits = walkLocalizedTexts(rowNumbers, readLocalizedTexts(&file, context), &complete);
        for (const CellEdit &e : edits)
            table->setItem(e.row, e.column, newItem(e.text, e.column));
        if (!complete)
            return;
    }
    parInformation->loadParameterDetails();
}

// ---- Display modes and sorting ----

void CParameter::applyListRule900()
{
    if (g_parameterCount >= 900 || g_groupMode == 0)
        return;
    const int end = qMin(1000, PartableWidget->rowCount());
    for (int r = 900; r < end; ++r)
        PartableWidget->setRowHidden(r, cellText(r, 3) == QLatin1String("--") && cellText(r, 8) == QLatin1String("--"));
}

void CParameter::showAll()
{
    QTableWidget *table = PartableWidget;
    tableRows = table->rowCount();
    const int count = qBound(0, g_parameterCount, table->rowCount());
    switch (selectParaCombo->currentIndex()) {
    case 0:
        for (int r = 0; r < count; ++r)
            table->setRowHidden(r, cellText(r, 3).contains(QLatin1String("--")));
        applyListRule900();
        break;
    case 1:
        for (int r = 0; r < count; ++r)
            table->hideRow(r);
        if (g_parameterCount < 900 && g_groupMode != 0) {
            for (int r = 900; r < qMin(1000, table->rowCount()); ++r)
                table->hideRow(r);
        }
        break;
    case 2:
        for (int r = 0; r < count; ++r)
            table->showRow(r);
        applyListRule900();
        break;
    default:
        break;
    }
}

void CParameter::selectPara(int mode)
{
    QTableWidget *table = PartableWidget;
    const int count = qBound(0, g_parameterCount, table->rowCount());
    switch (mode) {
    case 0:
        showAll();
        break;
    case 1:
        for (int r = 0; r < count; ++r)
            table->setRowHidden(r, cellText(r, 3).contains(QLatin1String("--")));
        delete selectDialog;
        selectDialog = new CSelPar(nullptr);
        showAll();
        connect(selectDialog, &QDialog::accepted, this, &CParameter::tableHide);
        execAfterEarlierPresses(selectDialog);
        break;
    case 2:
        for (int r = 0; r < count; ++r)
            table->showRow(r);
        applyListRule900();
        table->sortItems(1, Qt::AscendingOrder);
        g_sortFlag = 1;
        break;
    default:
        break;
    }
}

void CParameter::tableHide()
{
    for (int row : qAsConst(g_selectedRows)) {
        if (row >= 0 && row < PartableWidget->rowCount())
            PartableWidget->showRow(row);
    }
}

void CParameter::mySort(int column)
{
    QTableWidget *table = PartableWidget;
    if (column == 0) {
        table->sortItems(0, Qt::AscendingOrder);
        g_sortFlag = 0;
    } else if (column == 1) {
        QTableWidgetItem *pseudo = table->item(PseudoRow, 1);
        if (pseudo && pseudo->text().contains(QLatin1String("99X"))) {
            // A label in the right-justified form sorts the pseudo-row where 999 belongs.
            pseudo->setText(QStringLiteral("P. 999"));
            table->sortItems(1, Qt::AscendingOrder);
            pseudo->setText(QStringLiteral("P. 99X"));
        } else {
            table->sortItems(1, Qt::AscendingOrder);
        }
        g_sortFlag = 1;
    }
}

// ---- Help popup ----

void CParameter::ShowTooltip(QModelIndex index)
{
    if (!index.isValid())
        return;
    const QPoint cursor = QCursor::pos();
    QTableWidget *table = PartableWidget;
    const int p = parameterOfRow(table->currentRow());
    // Numbers from 1299 on never have help; a popup left open would describe another parameter.
    if (p > 1299 || table->currentColumn() != helpColumn() || !hasHelp(p)) {
        parInformation->hide();
        return;
    }
    parInformation->model->removeRows(0, parInformation->model->rowCount());
    parInformation->fillTable(p);
    parInformation->show();
    parInformation->activateWindow();

    QScreen *screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int maxX = desktop.width() - parInformation->width() - 10;
    const int maxY = desktop.height() - parInformation->height() - 30;
    const int x = cursor.x() + 30;
    const int y = cursor.y() + 20;
    if (x > maxX || y > maxY)
        parInformation->move(x, maxY);
    else
        parInformation->move(x, y);
}

// ---- Clearing and keys ----

void CParameter::clearValueColumn(int column)
{
    QTableWidget *table = PartableWidget;
    const int rows = qMin(tableRows, table->rowCount());
    QFont plain = table->font();
    plain.setBold(false);
    for (int r = 0; r < rows; ++r) {
        if (cellText(r, 1).isEmpty())
            break;
        setItemText(r, column, QString());
        for (int c = 0; c <= 10; ++c) {
            if (QTableWidgetItem *item = table->item(r, c)) {
                item->setFont(plain);
                item->setForeground(Qt::black);
            }
        }
        const QString label = cellText(r, 1);
        underlineHelpCell(r, label.contains(QLatin1String("P.")) ? labelNumber(label) : 0);
    }
}

void CParameter::ClearCurrentVal()
{
    clearValueColumn(9);
}

void CParameter::ClearSettingVal()
{
    clearValueColumn(10);
}

void CParameter::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        for (QTableWidgetItem *item : PartableWidget->selectedItems()) {
            if (item->column() == 10)
                item->setText(QString());
        }
        event->accept();
        return;
    }
    event->ignore();
}

bool CParameter::event(QEvent *event)
{
    // Events other than keys keep their ordinary handling, or the form would stop showing and painting.
    return QWidget::event(event);
}

void CParameter::languageChange()
{
    const int mode = selectParaCombo->currentIndex();
    retranslateUi(this);
    selectParaCombo->setCurrentIndex(mode);
    VerifyParameter->clear();
    VerifyParameter->addItems({ QCoreApplication::translate("ParameterForm", "Default VS Current"),
                                QCoreApplication::translate("ParameterForm", "Default VS Setting"),
                                QCoreApplication::translate("ParameterForm", "Current VS Setting") });
    VerifyParameter->setCurrentIndex(0);
    compareResult->retranslate();
    fitTexts(this);
}

// ---- Hidden parameters and helpers ----

void CParameter::loadHideParameters()
{
    if (g_modelName.contains(QLatin1Char('/')))
        g_modelName = QStringLiteral("VP-G");
    QFile file(QStringLiteral("hideparameter/%1HideParameter.xml").arg(g_modelName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    hideParameterList.clear();
    QXmlStreamReader reader(&file);
    if (reader.readNextStartElement())
        parseHideParameterXml(reader);
}

void CParameter::parseHideParameterXml(QXmlStreamReader &reader)
{
    appendHideParameters(reader, g_firmwareVersion.toDouble(), hideParameterList);
}

void CParameter::readRelatedSelectors()
{
    if (featureEnabled("Parameter_writeP188")) {
        const double version = readForLoading(188, 0.001);
        const QString text = formatValue(version);
        if (text == QLatin1String("-1")) {
            g_versionRead = false;
            g_firmwareVersionText = QStringLiteral("---");
        } else {
            g_firmwareVersionText = text;
            QString copy = text;
            if (version > 1.0)
                copy = QString::number(version - std::floor(version), 'f', 5);
            if (copy.toDouble() < g_firmwareVersion.toDouble())
                g_firmwareVersion = copy;
            g_versionRead = true;
        }
    } else {
        if (g_seriesLetter == 'E') {
            const QString capacity = QString(g_invType).remove(QLatin1Char('K')).split(QLatin1Char('-')).value(2);
            bool ok = false;
            const double kw = capacity.toDouble(&ok);
            g_firmwareVersion = ok && kw < 5.5 ? QStringLiteral("1.00") : QStringLiteral("0.70");
        }
        g_firmwareVersionText = g_firmwareVersion;
    }
    g_firmwareVersion = g_firmwareVersion.left(4);
    if (featureEnabled("Parameter_readP186"))
        readParameterAsText(186);
    else
        g_p186Value = QStringLiteral("1"); // a drive without P.186 has one rating
    const QString p189 = formatValue(readForLoading(189, 1.0));
    g_p189Value = p189 == QLatin1String("-1") ? QStringLiteral("0") : p189;
}

bool CParameter::readParameterAsText(int parameter)
{
    QString text = formatValue(readForLoading(parameter, 1.0));
    const bool ok = text != QLatin1String("-1");
    if (!ok)
        text = QStringLiteral("0");
    if (parameter == 186)
        g_p186Value = text;
    return ok;
}

double CParameter::scaleExponent(int parameter, QString unit)
{
    if ((parameter == 188 && featureEnabled("Parameter_NotH")) || (parameter == 199 && featureEnabled("Parameter_H")))
        return 0.001;
    return std::pow(10.0, -unitDecimals(unit));
}

QString CParameter::stripUnit(QString text)
{
    return stripUnitName(text, g_unitNames);
}

void CParameter::loadCurrentValues(QXmlStreamReader &reader)
{
    QTableWidget *table = PartableWidget;
    table->sortItems(0, Qt::AscendingOrder);
    int r = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement
            || !reader.name().contains(QLatin1String("CurrentValue")))
            continue;
        const QString number = reader.name().mid(12).toString();
        const QString value = reader.readElementText();
        if (r >= table->rowCount())
            break;
        QString label = cellText(r, 1);
        label.remove(QLatin1String("P."), Qt::CaseInsensitive).remove(QLatin1Char(' '));
        const int n = number.toInt();
        if ((n >= 994 && n <= 999) || label.compare(QLatin1String("99X"), Qt::CaseInsensitive) == 0) {
            setItemText(r, 10, label.compare(QLatin1String("99X"), Qt::CaseInsensitive) == 0 ? QStringLiteral("0")
                                                                                              : QStringLiteral(" "));
        } else if (n == label.toInt()) {
            setItemText(r, 10, value);
        } else if (n > label.toInt()) {
            while (r < table->rowCount() && labelNumber(cellText(r, 1)) != n) {
                setItemText(r, 10, QString());
                ++r;
            }
            if (r >= table->rowCount())
                break; // no row for the number: the rest of the stream has nowhere to go
            setItemText(r, 10, value);
        } else {
            table->insertRow(r);
            const QString undefined = QStringLiteral("--");
            createRow(undefined, QString::number(n), undefined, undefined, undefined, undefined, undefined, r);
            setItemText(r, 10, value);
        }
        ++r;
    }
}

// ---- Slots whose work comes with the files and dialogs ----

void CParameter::CallIndexDialog()
{
    CSearch search(nullptr);
    execAfterEarlierPresses(&search);
}

void CParameter::showDifferentPar()
{
    compareResult->compare(VerifyParameter->currentIndex());
    compareResult->show();
    // Filled again while open, it may lie behind the main window the user just worked in.
    compareResult->raise();
    compareResult->activateWindow();
}

void CParameter::showComparison(int mode)
{
    VerifyParameter->setCurrentIndex(mode);
    showDifferentPar();
}
