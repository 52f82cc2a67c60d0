#include "shell/navigation.h"
#include "shell/textfit.h"

#include "comm/globals.h"
#include "connection/identify.h"
#include "comm/readwrite.h"
#include "connection/settype.h"
#include "comm/typeinfo.h"
#include "parameter/parameter.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/document.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/modethread.h"
#include "shell/operationlog.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>

QPersistentModelIndex g_currentStationIndex;

namespace
{
const QString LampOn = QStringLiteral("background-color: rgb(255, 0, 0);");
const QString LampOff = QStringLiteral("background-color: rgb(190, 190, 190);");
const QColor CurrentColour(176, 196, 222);
const QColor OtherColour(255, 255, 255);
const QLatin1String NumberMark("NO.");
const int ClickWindowMs = 400;
const int DisplayTickMs = 10;

QString numberDigits(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

QStringList words(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString lastWord(const QString &text)
{
    return words(text).value(words(text).size() - 1);
}

void setConnectionState(bool online)
{
    if (g_mainWindow)
        g_mainWindow->setConnectionState(online);
}

void setModeText(const QString &text)
{
    if (g_mainWindow && g_mainWindow->modeValueLabel)
        g_mainWindow->modeValueLabel->setText(text);
}
// A station's picture stands above its name: beside it, the 150-pixel picture left the name too little
// of the dock's width.
class PictureAboveName : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.parent().isValid()) {
            option->decorationPosition = QStyleOptionViewItem::Top;
            option->displayAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
        }
    }
};

} // namespace

namespace StationEntry
{

TypeText typeText(const QString &typeCombo, const QString &power)
{
    const QStringList f = typeCombo.split(QLatin1Char('-'));
    TypeText out;
    if (f.size() >= 3 && f.at(1).contains(QLatin1Char('G'))) {
        const QString series = f.at(0).section(QLatin1Char('/'), 0, 0);
        out.type = series + QLatin1Char('-') + f.at(2) + QLatin1Char('-') + QString(power).remove(QLatin1String("-G"))
            + QLatin1Char('-') + f.at(1);
        out.picture = series + QLatin1Char('-') + f.at(1);
    } else if (f.size() >= 3) {
        out.type = f.at(0) + QLatin1Char('-') + f.at(2) + QLatin1Char('-') + power + QLatin1Char('-') + f.at(1);
        out.picture = f.at(0);
    } else {
        out.type = f.at(0) + QLatin1Char('-') + f.value(1) + QLatin1Char('-') + power;
        out.picture = f.at(0);
    }
    return out;
}

int numberOfWord(const QString &word)
{
    bool ok = false;
    const int number = QString(word).remove(NumberMark).toInt(&ok, 10);
    return ok && number >= 0 && number < Count ? number : -1;
}

int numberInText(const QString &text)
{
    for (const QString &word : words(text))
        if (word.contains(NumberMark))
            return numberOfWord(word);
    return -1;
}

QString itemText(const QString &prefix, int number, const QString &type)
{
    return prefix + numberDigits(number) + QLatin1Char(' ') + type;
}

QString picturePath(const QString &picture)
{
    return localPath(g_appDir + QStringLiteral("images\\") + picture + QStringLiteral(".png"));
}

DialogPreset presetOfItem(const QString &itemText)
{
    const QStringList w = itemText.split(QRegularExpression(QStringLiteral("[- ]")), Qt::SkipEmptyParts);
    DialogPreset preset;
    preset.number = numberOfWord(w.value(0));
    if (w.size() >= 5) {
        const QString &last = w.last();
        const QString series = last == QLatin1String("G") ? QStringLiteral("VP/VP")
            : last == QLatin1String("L")                   ? QStringLiteral("VR3")
                                                           : QStringLiteral("VP");
        preset.type = series + QLatin1Char('-') + w.at(4) + QLatin1Char('-') + w.at(2);
        preset.power = w.at(3).contains(QLatin1Char('/')) ? w.at(3) + QLatin1Char('-') + w.at(4) : w.at(3);
    } else if (w.size() == 4) {
        preset.type = w.at(1) + QLatin1Char('-') + w.at(2);
        preset.power = w.at(3);
    }
    return preset;
}

} // namespace StationEntry

using namespace StationEntry;

CNavigation::CNavigation(QWidget *parent)
    : QWidget(parent)
    , stationLabel(PotLabel)
    // An earlier window's restart, long over, would make the mode this one learns unknown.
    , modeState(g_restartCount)
    , stationTypes(Count)
    , stationModelCodes(Count)
    , deletedTypes(Count)
{
    setupUi(this);
    retranslateStrings();
    clickCount = 0;

    clickTimer = new QTimer(this);
    clickTimer->setSingleShot(true);
    clickTimer->setInterval(ClickWindowMs);
    connect(clickTimer, &QTimer::timeout, this, &CNavigation::ChStation);

    stationModel = new QStandardItemModel(this);
    SysSettreeView->setModel(stationModel);
    SysSettreeView->setIconSize(QSize(150, 75));
    treeRoot = new QStandardItem(QIcon(QStringLiteral(":/new prefix/images/parent_small.png")), systemSettingText);
    treeRoot->setEditable(false);
    stationModel->invisibleRootItem()->appendRow(treeRoot);

    SysSettreeView->expand(treeRoot->index());
    SysSettreeView->scrollTo(treeRoot->index());
    SysSettreeView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    SysSettreeView->setItemDelegate(new PictureAboveName(SysSettreeView));
    showElidedTextsAsToolTips(SysSettreeView);
    SysSettabWidget->setTabText(0, systemSettingText);
    SysSettabWidget->setTabText(1, settingGuideText);
    PotLabel->setText(selectStationText + QStringLiteral("---"));
    createConnections();

    takeStartupStationFile(this);

    stationDialog = new CSetType(nullptr);
    stationDialog->hide();
    modeThread = new MonitorModeThread(this);
    // Runs for the whole run: it also takes in a lost link, whoever met it.
    modeDisplayTimer = new QTimer(this);
    connect(modeDisplayTimer, &QTimer::timeout, this, &CNavigation::monitorModeState);
    modeDisplayTimer->start(DisplayTickMs);
    statusWord = 0;
    commands = new DriveCommands(*this, modeState);
}

CNavigation::~CNavigation()
{
    // A poll may be inside this dock or the protocol object: let it finish before either goes.
    stopModePolling();
    delete modeThread;
    delete stationDialog;
}

void CNavigation::retranslateStrings()
{
    systemSettingText = tr("System setting");
    settingGuideText = tr("Setting guide");
    selectStationText = tr("Select station: ");
    numberPrefixText = tr("NO.");
}

void CNavigation::createConnections()
{
    connect(SysSettreeView, &QTreeView::clicked, this, &CNavigation::FunClicked);
    // The view reports the second click of a double click as doubleClicked alone. It counts as that
    // second click even when the desktop's double-click time outlasted the click window.
    connect(SysSettreeView, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        clickCount = 1;
        lastClickedIndex = index;
        FunClicked(index);
    });
    connect(add_station, &QPushButton::clicked, this, &CNavigation::addStation);
    connect(delete_atation, &QPushButton::clicked, this, &CNavigation::deleteStation);
}

void CNavigation::changeLanguage()
{
    // The form's re-translation resets the lamps' style sheets.
    QLabel *const lamps[] = { CUstatusLabel, ExtStatusLabel, JogStatuslabel, RevStatusLabel, FWDStatusLabel };
    QString styles[5];
    for (int i = 0; i < 5; ++i)
        styles[i] = lamps[i]->styleSheet();
    retranslateStrings();
    stationDialog->initTexts();
    retranslateUi(this);
    for (int i = 0; i < 5; ++i)
        lamps[i]->setStyleSheet(styles[i]);
    // The label names the current station whatever length the old prefix had.
    PotLabel->setText(selectStationText + (currentItem ? currentItem->text() : QStringLiteral("---")));
    treeRoot->setText(systemSettingText);
    SysSettabWidget->setTabText(0, systemSettingText);
    SysSettabWidget->setTabText(1, settingGuideText);
    // An owed stop's words in the new language now: a station that no longer polls paints them no more.
    const DriveModeState::Display shown = modeState.display(DriveCommands::modeH());
    if (shown.stopOwed)
        setModeText(DriveCommands::modeText(shown));
}

void CNavigation::loadInverterTypes()
{
    if (g_invType.isEmpty())
        return;
    const QString path = invTypeFilePath();
    bool ok = false;
    const QStringList lines = readTextLines(path, gbkCodec(), &ok);
    if (!ok) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot read file %1:\n%2.").arg(path, file.errorString()));
        return;
    }
    QString name = g_invType.split(QLatin1Char('-'), Qt::SkipEmptyParts).value(0);
    if (g_invType.contains(QLatin1String("VR3")) && g_invType.contains(QLatin1String("-L")))
        name = QStringLiteral("VR3-L");
    else if (g_invType.contains(QLatin1String("-GT")))
        name = QStringLiteral("VP-GT");
    else if (g_invType.contains(QLatin1String("-G")))
        name = QStringLiteral("VP/VP-G");
    for (const QString &line : lines) {
        const QStringList fields = line.split(QStringLiteral("//"), Qt::SkipEmptyParts);
        if (fields.size() < 5 || fields.at(1) != name)
            continue;
        g_invTypeFields = fields;
        g_seriesLetter = fields.at(0).isEmpty() ? '0' : fields.at(0).at(0).toLatin1();
        g_modelName = fields.at(1);
        g_firmwareVersion = fields.at(2);
        g_parameterCount = fields.at(3).toInt();
        g_groupMode = fields.at(4).toInt();
        return;
    }
}

// ---- Commands ----

int CNavigation::checkConnection()
{
    if (g_connectionTest)
        return 0;
    // Whatever window it comes from, a command pressed right after a click is for the station clicked.
    flushStationClick();
    bool named = false;
    int number = -1;
    for (const QString &word : words(stationLabel->text())) {
        if (word.contains(NumberMark)) {
            named = true;
            number = numberOfWord(word);
            break;
        }
    }
    if (named && number >= 0 && stationTested[number] != 0)
        return 0;
    if (named)
        askForConnectionTest();
    setConnectionState(false);
    return -1;
}

void CNavigation::askForConnectionTest()
{
    // A give-up the display has not taken in yet: the station shows untested before the box opens.
    followLink();
    // Over the window the user works in, the monitor's too, rather than raising the dock's.
    QWidget *over = QApplication::activeWindow();
    warnAfterEarlierPresses(over ? over : this, tr("Warning"), tr("Please execute connection test first!"));
    setConnectionState(false);
}

void CNavigation::flushStationClick()
{
    // However many stations were clicked, the last one chosen is the one the command is for.
    if (clickCount > 0 && clickTimer->isActive()) {
        clickTimer->stop();
        ChStation();
    }
}

// ---- Mode poller and display ----

void CNavigation::startModeDisplay()
{
    if (!modeThread->isRunning())
        modeThread->startPolling();
}

void CNavigation::connectionTestPassed()
{
    // The test is still running here: its end clears g_connectionTest right after. A stop the
    // station was owed went out when the test found the drive; one still owed goes out now.
    const int number = shownStation();
    sendOwedStop(number);
    modeState.passedTest(number);
    startModeDisplay();
    paintMode();
}

void CNavigation::stationEnteredAgain(int number, const QString &type)
{
    if (number >= 0 && number < Count && deletedTypes.at(number) != type)
        stationTested[number] = 0;
}

void CNavigation::stopModePolling(bool takeOffLine)
{
    if (!modeThread)
        return;
    if (modeThread->isRunning() && takeOffLine)
        g_offLine = true;
    // Also when the poller has ended by itself: what it wrote last is then in view.
    modeThread->stopAndWait();
}

void CNavigation::pollModeState()
{
    if (g_modeRestartWait) {
        // The drive restarts after a parameter command and hears nothing until the link's quiet,
        // counted from the command's answer, has run. A station click or a test ends the wait: the
        // window waits for no restart of ours unseen, and the next poller waits for the rest.
        const unsigned restart = g_restartCount;
        if (!modeThread->rest(g_restartQuiet.remainingMs()))
            return;
        // Told before the flags go, so the display cannot miss the restart; the link's wait is
        // over too, or the poll would wait it out once more.
        modeState.restarting(restart);
        g_modeRestartWait = false;
        if (!g_restartQuiet.pending())
            g_restartWait = false;
    }
    if (g_invType.isEmpty())
        return;
    // A link given up during the sleep waits for a connection test.
    if (g_offLine) {
        modeThread->stopPolling();
        return;
    }
    const unsigned ticket = modeState.pollBegun();
    LinkLossWatch watch;
    ReadWrite *link = g_readWrite;
    const int mode = link->SendCommand("MOD");
    if (mode == -1) {
        if (g_offLine)
            modeThread->stopPolling();
        return;
    }
    DriveModeState::Poll poll;
    poll.mode = (mode >= '0' && mode <= '8') ? mode - '0' : -1;
    const int status = link->SendCommand("STA");
    if (status == -1) {
        if (g_offLine)
            modeThread->stopPolling();
        statusWord = 0;
    } else {
        // Read here, once a poll, rather than on the GUI thread at every paint.
        if (poll.mode == 2)
            poll.p79Is3 = DriveCommands::p79Is3(link);
        poll.status = status;
        statusWord = status;
        // A restart begun during the poll leaves its answers from both sides of it.
        modeState.restarting(g_restartCount);
        modeState.polled(ticket, poll);
    }
    if (g_connectionTest)
        modeThread->stopPolling();
}

void CNavigation::setModeLamps(QLabel *on)
{
    for (QLabel *lamp : { CUstatusLabel, ExtStatusLabel, JogStatuslabel })
        lamp->setStyleSheet(lamp == on ? LampOn : LampOff);
}

void CNavigation::setDirectionLamps(QLabel *on)
{
    for (QLabel *lamp : { RevStatusLabel, FWDStatusLabel })
        lamp->setStyleSheet(lamp == on ? LampOn : LampOff);
}

void CNavigation::showLinkLost()
{
    modeThread->stopPolling();
    modeState.givenUp();
    const int number = shownStation();
    if (number >= 0)
        stationTested[number] = 0;
    setConnectionState(false);
    paintMode();
}

void CNavigation::showRestartWait(bool waiting)
{
    if (!waiting) {
        QApplication::restoreOverrideCursor();
        paintMode(true);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setModeText(tr("Drive restarting: please wait"));
    // The window the user works in too: a box closed just before would leave its hole unpainted.
    QWidget *active = QApplication::activeWindow();
    if (active && active != window())
        active->repaint();
    window()->repaint();
}

void CNavigation::followLink()
{
    // Whichever exchange gave up, a command's or a read's as well as a poll's.
    if ((g_offLine || g_connectionTest) && modeState.onLine())
        showLinkLost();
    // A restart may change the mode (P.998 and P.999 restore P.79): asked or polled again after it.
    modeState.restarting(g_restartCount);
}

void CNavigation::monitorModeState()
{
    followLink();
    paintMode();
}

void CNavigation::paintMode(bool always)
{
    if (modeState.version() == m_paintedVersion && !always)
        return;
    const DriveModeState::Display shown = modeState.display(DriveCommands::modeH());
    m_paintedVersion = shown.version;
    using Lamp = DriveModeState::Lamp;
    setModeLamps(shown.lamp == Lamp::Cu ? CUstatusLabel : shown.lamp == Lamp::Ext ? ExtStatusLabel
                 : shown.lamp == Lamp::Jog                                          ? JogStatuslabel
                                                                                    : nullptr);
    setDirectionLamps((shown.status & 2) ? FWDStatusLabel : (shown.status & 4) ? RevStatusLabel : nullptr);
    setModeText(DriveCommands::modeText(shown));
    g_cuModeResult = takesRunCommands() ? 0 : -1;
    if (shown.fromPoll) {
        // The station answered.
        const int number = shownStation();
        if (number >= 0)
            stationTested[number] = 1;
        setConnectionState(true);
    }
}

// ---- Stations ----

void CNavigation::setTypeLabel(const QString &text)
{
    if (g_mainWindow && g_mainWindow->typeValueLabel)
        g_mainWindow->typeValueLabel->setText(text);
}

void CNavigation::setStationGlobals(int number)
{
    setStation(number);
    if (!stationModelCodes.at(number).isEmpty())
        g_modelCode = stationModelCodes.at(number);
}

void CNavigation::setStationIcon(QStandardItem *item, const QString &picture)
{
    item->setIcon(QIcon(picturePath(picture)));
}

// The current station is highlighted; othersSelectable false also takes the others' selectable mark.
void CNavigation::makeCurrent(QStandardItem *item, bool othersSelectable)
{
    currentItem = item;
    for (int row = 0; row < treeRoot->rowCount(); ++row) {
        QStandardItem *station = treeRoot->child(row);
        if (station == item)
            continue;
        station->setBackground(OtherColour);
        if (!othersSelectable)
            station->setSelectable(false);
    }
    item->setSelectable(true);
    item->setBackground(CurrentColour);
}

void CNavigation::reloadParameterForm(bool showAll)
{
    if (!g_mainWindow)
        return;
    g_mainWindow->setControlsEnabled(true);
    CParameter *form = g_mainWindow->parameterForm;
    form->loadParameterTable();
    form->loadHideParameters();
    form->show();
    if (showAll)
        form->showAll();
}

void CNavigation::noStationLeft()
{
    currentItem = nullptr;
    PotLabel->setText(selectStationText + QStringLiteral("---"));
    setTypeLabel(QString());
    g_seriesLetter = '0';
    if (g_mainWindow) {
        g_mainWindow->setControlsEnabled(false);
        g_mainWindow->parameterForm->hide();
    }
}

// Its number, -1 when the text names none.
int CNavigation::makeFirstStationCurrent(bool consultTested)
{
    QStandardItem *first = treeRoot->child(0);
    makeCurrent(first, false);
    const QString text = first->text();
    const int number = numberOfWord(words(text).value(0));
    if (consultTested) {
        const bool tested = number >= 0 && stationTested[number] == 1;
        g_offLine = !tested;
        // Text and picture together: the station deleted may have left "Off-Line" written.
        setConnectionState(tested);
    }
    const QString type = lastWord(text);
    PotLabel->setText(selectStationText + numberPrefixText + numberDigits(qMax(number, 0)) + QLatin1Char(' ') + type);
    setTypeLabel(type);
    g_invType = type.simplified();
    loadInverterTypes();
    if (number >= 0)
        setStationGlobals(number);
    reloadParameterForm(true);
    g_currentStationIndex = first->index();
    return number;
}

bool CNavigation::numberRefused(int number, int editedNumber)
{
    // The dialog's box reaches 255; the station tables end at 254.
    if (number < 0 || number >= Count) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("The station number must be from 0 to 254!"));
        return true;
    }
    if (number != editedNumber && !stationTypes.at(number).isEmpty()) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("The station number has been used!"));
        return true;
    }
    return false;
}

int CNavigation::shownStation() const
{
    return numberInText(PotLabel->text());
}

void CNavigation::FunClicked(QModelIndex index)
{
    if (clickCount == 0) {
        clickTimer->start();
        ++clickCount;
    } else if (index == lastClickedIndex) {
        // A second click on the same item within the window edits the station.
        clickTimer->stop();
        clickCount = 0;
        lastClickedIndex = index;
        CallSetType();
        return;
    } else {
        clickTimer->start();
        ++clickCount;
    }
    lastClickedIndex = index;
}

void CNavigation::ChStation()
{
    clickCount = 0;
    // The top item is no station: the poller keeps watching the link of the current one.
    if (!lastClickedIndex.isValid() || !lastClickedIndex.parent().isValid())
        return;
    QStandardItem *item = stationModel->itemFromIndex(lastClickedIndex);
    if (!item)
        return;
    const QStringList w = words(item->text());
    const int number = w.size() >= 2 ? numberOfWord(w.at(0)) : -1;
    const bool tested = number >= 0 && stationTested[number] != 0;
    // Off-line before the station changes, so no monitor request reaches an untested station;
    // a tested one keeps the monitor running.
    stopModePolling(!tested);
    if (!tested)
        g_offLine = true;
    modeState.stationChosen(w.size() >= 2 ? number : -1, tested);
    makeCurrent(item, true);
    PotLabel->setText(selectStationText + item->text());

    const QString previousType = g_invType;
    if (w.size() >= 2) {
        g_stationText = QStringLiteral("Station:") + w.at(0) + QLatin1Char(',') + w.at(1);
        setTypeLabel(w.last());
        g_invType = w.last().simplified();
        if (number >= 0)
            setStationGlobals(number);
        g_offLine = !tested;
        setConnectionState(tested);
        if (tested)
            startModeDisplay();
    } else {
        g_invType.clear();
    }
    loadInverterTypes();
    if ((g_invType != previousType || g_currentStationIndex != lastClickedIndex) && !g_invType.isEmpty())
        reloadParameterForm(true);
    g_currentStationIndex = lastClickedIndex;
    paintMode();
    appendOperationLog({ QStringLiteral("Single click select") + g_stationText }, true);
}

void CNavigation::addStation()
{
    stationDialog->StationSpinBox->setValue(0);
    stationDialog->InvTypecomboBox->setCurrentIndex(0);
    if (execAfterEarlierPresses(stationDialog) != QDialog::Accepted)
        return;
    const int number = stationDialog->StationSpinBox->value();
    const QString type = stationDialog->InvTypecomboBox->currentText();
    if (stationDialog->InvTypecomboBox->currentIndex() == 0 || type == QLatin1String("None")
        || type.split(QLatin1Char('-')).size() < 2)
        return;
    const TypeText entry = typeText(type, stationDialog->InvVolcomboBox->currentText());
    if (numberRefused(number, -1))
        return;
    stopModePolling();
    // A new station is untested: nothing may be sent to it, the monitor's pass included.
    g_offLine = true;
    modeState.stationChosen(number, false);

    PotLabel->setText(selectStationText + NumberMark + numberDigits(number) + QLatin1Char(' ') + entry.type);
    g_invType = entry.type;
    loadInverterTypes();
    g_modelCode = QStringLiteral("0");
    stationModelCodes[number] = g_modelCode;
    setTypeLabel(g_invType);

    auto *item = new QStandardItem(itemText(numberPrefixText, number, entry.type));
    setStationIcon(item, entry.picture);
    item->setEditable(false);
    item->setSelectable(true);
    treeRoot->appendRow(item);
    stationModel->sort(0, Qt::AscendingOrder);
    makeCurrent(item, false);

    setStationGlobals(number);
    reloadParameterForm(false);
    setTypeLabel(g_invType);
    // The table is the new station's now: choosing another one, even of the same type, loads it.
    g_currentStationIndex = item->index();

    stationTypes[number] = entry.type;
    stationTested[number] = 0;
    // A new station takes commands only after it has passed the connection test.
    setConnectionState(false);
    paintMode();
}

void CNavigation::CallSetType()
{
    if (!lastClickedIndex.isValid() || !lastClickedIndex.parent().isValid())
        return;
    const QPersistentModelIndex edited(lastClickedIndex);
    QStandardItem *item = stationModel->itemFromIndex(lastClickedIndex);
    const DialogPreset preset = presetOfItem(item->text());
    stationDialog->StationSpinBox->setValue(qMax(preset.number, 0));
    if (!preset.type.isEmpty()) {
        // The type first: choosing it refills the power list.
        const int typeIndex = stationDialog->InvTypecomboBox->findText(preset.type, Qt::MatchExactly);
        if (typeIndex >= 0)
            stationDialog->InvTypecomboBox->setCurrentIndex(typeIndex);
        const int powerIndex = stationDialog->InvVolcomboBox->findText(preset.power, Qt::MatchExactly);
        if (powerIndex >= 0)
            stationDialog->InvVolcomboBox->setCurrentIndex(powerIndex);
    }
    if (execAfterEarlierPresses(stationDialog) != QDialog::Accepted || !edited.isValid())
        return;
    const int number = stationDialog->StationSpinBox->value();
    item = stationModel->itemFromIndex(edited);
    const int oldNumber = numberOfWord(words(item->text()).value(0));
    const bool removed = !stationDialog->InvVolcomboBox->isEnabled();
    // A refused edit changes nothing: the station on line stays on line.
    if (!removed && numberRefused(number, oldNumber)) {
        modeState.editRefused();
        return;
    }
    g_currentStationIndex = edited;
    stopModePolling();
    g_offLine = true;
    // The station current afterwards is untested either way.
    modeState.stationChosen(removed ? -1 : number, false);

    if (removed) {
        // "None": the station goes.
        if (oldNumber >= 0) {
            stationTested[oldNumber] = 0;
            stationTypes[oldNumber].clear();
        }
        if (number >= 0 && number < Count)
            stationTested[number] = 0;
        const int row = edited.row();
        const bool wasLast = row == treeRoot->rowCount() - 1;
        if (currentItem == item)
            currentItem = nullptr;
        treeRoot->removeRow(row);
        if (!wasLast)
            SysSettreeView->setCurrentIndex(treeRoot->child(row)->index());
        if (treeRoot->rowCount() == 0)
            noStationLeft();
        else
            modeState.stationChosen(makeFirstStationCurrent(false), false);
    } else {
        if (oldNumber >= 0) {
            stationTested[oldNumber] = 0;
            stationTypes[oldNumber].clear();
        }
        stationTested[number] = 0;
        // Editing builds the type text as adding does, so an unchanged station keeps its text.
        const TypeText entry = typeText(stationDialog->InvTypecomboBox->currentText(),
                                        stationDialog->InvVolcomboBox->currentText());
        const QString text = itemText(numberPrefixText, number, entry.type);
        PotLabel->setText(selectStationText + text);
        g_invType = lastWord(text).simplified();
        stationTypes[number] = g_invType;
        loadInverterTypes();
        g_modelCode = QStringLiteral("0");
        if (oldNumber >= 0)
            stationModelCodes[oldNumber].clear();
        stationModelCodes[number] = g_modelCode;
        setStationGlobals(number);
        item->setText(text);
        setStationIcon(item, entry.picture);
        stationModel->sort(0, Qt::AscendingOrder);
        makeCurrent(item, false);
        reloadParameterForm(true);
        setTypeLabel(g_invType);
    }
    g_offLine = true;
    setConnectionState(false);
    paintMode();
}

void CNavigation::deleteStation()
{
    if (treeRoot->rowCount() == 0)
        return;
    if (!currentItem || !currentItem->isSelectable()) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("Please select the branch first !"));
        return;
    }
    const QString first = words(currentItem->text()).value(0);
    if (!first.contains(NumberMark))
        return;
    stopModePolling();
    const int number = numberOfWord(first);
    if (number >= 0) {
        // Its passed test stays, for this type only.
        deletedTypes[number] = stationTypes.at(number);
        stationTypes[number].clear();
        stationModelCodes[number].clear();
    }
    treeRoot->removeRow(currentItem->row());
    currentItem = nullptr;

    // The deleted station's last poll is no picture of the one current now: a tested one is
    // painted from its own next poll.
    const int next = treeRoot->rowCount() > 0 ? numberOfWord(words(treeRoot->child(0)->text()).value(0)) : -1;
    modeState.stationDeleted(next, next >= 0 && stationTested[next] == 1);
    if (treeRoot->rowCount() > 0) {
        makeFirstStationCurrent(true);
        if (!g_offLine)
            startModeDisplay();
    } else {
        noStationLeft();
        g_offLine = true;
        setConnectionState(false);
    }
    paintMode();
}
