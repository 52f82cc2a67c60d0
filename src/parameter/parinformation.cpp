#include "parameter/parinformation.h"

#include "comm/globals.h"
#include "shell/appglobals.h"

#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextCodec>
#include <QTextLayout>
#include <QToolButton>

QVector<QString> readParameterDetails(QIODevice *device)
{
    QVector<QString> texts(DetailTextCount);
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    while (!device->atEnd()) {
        QByteArray raw = device->readLine();
        while (raw.endsWith('\n') || raw.endsWith('\r'))
            raw.chop(1);
        const QString line = gbk ? gbk->toUnicode(raw) : QString::fromLocal8Bit(raw);
        if (!line.contains(QLatin1String("//")))
            continue;
        const QStringList fields = line.split(QStringLiteral("//"));
        const QString text = fields.value(1);
        for (const QString &key : fields.at(0).split(QLatin1Char('-'))) {
            const int n = key.toInt();
            if (n >= 0 && n < DetailTextCount)
                texts[n] = text;
        }
    }
    return texts;
}

double helpMinimumVersion(char seriesLetter)
{
    switch (seriesLetter) {
    case 'A': return 0.2;
    case 'D': return 0.15;
    case 'I': return 0.14;
    case 'K': case 'Y': return 0.1;
    case 'B': case 'C': case 'E': case 'F': case 'G': case 'H': case 'L': case 'M': case 'S': case 'T': case 'X':
        return 1000;
    default: return 0.0;
    }
}

int helpRowHeight(int length, int language)
{
    if (language == 0)
        return length < 55 ? 20 : length < 110 ? 40 : length < 165 ? 60 : length < 220 ? 80 : 100;
    return length < 25 ? 20 : length < 50 ? 30 : length < 90 ? 60 : 80;
}

QStringList helpLines(const QString &text, const QFont &font, int width)
{
    // Breaking anywhere cut words in two; this breaks at spaces and after a slash.
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextLayout layout(text, font);
    layout.setTextOption(wrap);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

void textDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    painter->setFont(option.font);
    const QStringList lines = helpLines(index.data(Qt::DisplayRole).toString(), option.font, option.rect.width());
    painter->drawText(option.rect, Qt::AlignVCenter, lines.join(QLatin1Char('\n')));
    painter->restore();
    drawFocus(painter, option, option.rect);
}

ParInformation::ParInformation(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , detailTexts(DetailTextCount)
{
    setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);

    model = new QStandardItemModel(0, 3, this);
    model->setHorizontalHeaderItem(0, new QStandardItem(QCoreApplication::translate("PInf", "NO")));
    model->setHorizontalHeaderItem(1, new QStandardItem(QCoreApplication::translate("PInf", "Note")));
    model->setHorizontalHeaderItem(2, new QStandardItem(QString()));
    SysTableView->setModel(model);
    SysTableView->setColumnWidth(0, 45);
    SysTableView->setColumnWidth(1, 365);
    SysTableView->setColumnWidth(2, 30);
    SysTableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SysTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SysTableView->setItemDelegateForColumn(1, new textDelegate(this));
    // Short lines get 20-pixel rows, below the height the font alone would ask for.
    SysTableView->verticalHeader()->setMinimumSectionSize(1);
}

ParInformation::~ParInformation() = default;

QString ParInformation::detailText(int number) const
{
    return (number >= 0 && number < detailTexts.size()) ? detailTexts.at(number) : QString();
}

void ParInformation::loadParameterDetails()
{
    detailTexts = QVector<QString>(DetailTextCount);
    if (g_firmwareVersion.toDouble() < helpMinimumVersion(g_seriesLetter))
        return;
    static const char *const suffixes[] = { "_Eng.txt", ".txt", "_Big.txt" };
    const QString suffix = g_language < 3 ? QString::fromLatin1(suffixes[g_language]) : QString();
    const QString model = g_modelCode == QLatin1String("0") ? QString() : g_modelCode;
    QFile file(g_appDir + QStringLiteral("ParameterInforamtion/ParameterDetails/") + QLatin1Char(g_seriesLetter)
               + model + suffix);
    if (!file.open(QIODevice::ReadOnly))
        return;
    detailTexts = readParameterDetails(&file);
}

void ParInformation::fillTable(int number)
{
    const QString label = tr("P.") + QString::number(number);
    const QString text = detailText(number);
    if (model->columnCount() < 3)
        model->setColumnCount(3);
    if (text.isEmpty()) {
        model->setItem(0, 0, new QStandardItem(label));
        model->setItem(0, 1, new QStandardItem(tr("No detail describe!")));
    } else {
        // A text without ";" is a single line; leaving it out would open an empty popup.
        model->setItem(0, 0, new QStandardItem(label));
        const QStringList lines = text.split(QLatin1Char(';'));
        for (int j = 0; j < lines.size(); ++j) {
            model->setItem(j, 1, new QStandardItem(lines.at(j)));
            SysTableView->setRowHeight(j, helpRowHeight(lines.at(j).size(), g_language));
        }
    }
    // The view owns its index widgets and deletes them with their rows, so each fill makes its own.
    closeButton = new QToolButton;
    closeButton->setMinimumSize(20, 20);
    closeButton->setMaximumSize(20, 20);
    closeButton->setIcon(QIcon(g_appDir + QStringLiteral("images/cancel.png")));
    closeButton->setStyleSheet(QStringLiteral("border:0px"));
    connect(closeButton, &QToolButton::clicked, this, &ParInformation::closewindow);
    if (model->rowCount() == 0)
        model->setRowCount(1);
    SysTableView->setIndexWidget(model->index(0, 2), closeButton);
}

void ParInformation::closewindow()
{
    hide();
}
