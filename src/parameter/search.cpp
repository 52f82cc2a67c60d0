#include "parameter/search.h"

#include "parameter/parameter.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/textfit.h"

#include <QButtonGroup>
#include <QMessageBox>
#include <QTableWidget>

#include <algorithm>

CSearch::CSearch(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    buttons = new QButtonGroup(this);
    buttons->addButton(UpSearchPB, 0);
    buttons->addButton(DownSearchPB, 1);
    connect(buttons, &QButtonGroup::idClicked, this, &CSearch::IndexAccept);
    connect(SearchCancel, &QPushButton::clicked, this, &QDialog::reject);
    setWindowFlags(Qt::WindowSystemMenuHint);
    connect(MatchCaseCheckBox, &QCheckBox::stateChanged, this, &CSearch::reset);
    connect(MatchExaCheckBox, &QCheckBox::stateChanged, this, &CSearch::reset);
    initTexts();
}

CSearch::~CSearch() = default;

void CSearch::initTexts()
{
    retranslateUi(this);
    searchTitle = tr("Search");
    notFoundText = tr("Did not find the accordant characters");
    fitTexts(this);
}

QTableWidget *CSearch::table() const
{
    return g_mainWindow && g_mainWindow->parameterForm ? g_mainWindow->parameterForm->PartableWidget : nullptr;
}

// "Match Case" asks for whole cells, "Case sensitive" for the letter case; an exact match is always
// case-sensitive.
Qt::MatchFlags CSearch::matchFlags() const
{
    Qt::MatchFlags flags = MatchCaseCheckBox->isChecked() ? Qt::MatchExactly : Qt::MatchContains;
    if (MatchExaCheckBox->isChecked())
        flags |= Qt::MatchCaseSensitive;
    return flags | Qt::MatchWrap;
}

// Whole cells are compared without blanks at either end: "Trad. P mode" right-justifies its numbers
// with them, which the eye does not read as part of the number.
QList<QTableWidgetItem *> CSearch::findHits(QTableWidget *t, const QString &text) const
{
    if (!MatchCaseCheckBox->isChecked())
        return t->findItems(text, matchFlags());
    const QString whole = text.trimmed();
    QList<QTableWidgetItem *> hits = t->findItems(whole, Qt::MatchContains | Qt::MatchCaseSensitive | Qt::MatchWrap);
    hits.erase(std::remove_if(hits.begin(), hits.end(),
                   [&whole](const QTableWidgetItem *item) { return item->text().trimmed() != whole; }),
        hits.end());
    return hits;
}

void CSearch::reset(int)
{
    lastSearchText.clear();
}

bool CSearch::rowHidden(int position) const
{
    return table()->isRowHidden(table()->row(hitList.at(position)));
}

void CSearch::makeCurrent(int position)
{
    hitIndex = position;
    table()->setCurrentItem(hitList.at(position));
}

void CSearch::notFound()
{
    askAfterEarlierPresses(this, QMessageBox::Information, searchTitle, notFoundText, QMessageBox::Ok, QMessageBox::Ok);
}

void CSearch::IndexAccept(int PbId)
{
    QTableWidget *t = table();
    if (!t)
        return;
    t->setFocus();
    const QString text = SearchlineEdit->text();
    if (text.isEmpty())
        return;
    if (text != lastSearchText) {
        lastSearchText = text;
        hitList = findHits(t, text);
        hitCount = hitList.size();
        hitIndex = -1;
    }
    if (hitCount == 0) {
        notFound();
        return;
    }

    if (hitIndex == -1) {
        // Either button starts by looking forward from the table's current row.
        const int current = t->currentRow();
        int position = 0;
        while (position < hitCount && (t->row(hitList.at(position)) <= current || rowHidden(position)))
            ++position;
        if (position < hitCount) {
            makeCurrent(position);
        } else {
            // Nothing visible below the current row: say so, and stand at the end as a downward run does.
            hitIndex = hitCount;
            notFound();
        }
        return;
    }

    if (PbId == 0) {
        for (;;) {
            if (--hitIndex < 0) {
                hitIndex = -1;
                notFound();
                return;
            }
            if (!rowHidden(hitIndex)) {
                makeCurrent(hitIndex);
                return;
            }
        }
    }

    if (hitIndex > hitCount - 1)
        return;
    for (;;) {
        if (++hitIndex > hitCount - 1) {
            notFound();
            return;
        }
        if (!rowHidden(hitIndex)) {
            makeCurrent(hitIndex);
            return;
        }
    }
}
