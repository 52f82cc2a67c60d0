// Units a selector (P.21, P.187) gives, when the drive did not tell the selector's value at the load.
// The related-unit file's fallback value is only a guess then: a frequency written in 0.01 Hz to a
// drive counting 0.1 Hz is ten times the one shown. Such rows say so, and nothing goes out in them
// until the selector has been read or written. A write reads the selector again just before, as the
// keypad may have changed it since.

#include "parameter/parameter.h"

#include "parameter/paramtext.h"
#include "parameter/relatedunits.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"

#include <QStringList>

using namespace ParamText;

namespace {

QStringList governedBy(int selector)
{
    return g_relatedUnitRules.value(selector).section(QStringLiteral("//"), 2, 2).split(QLatin1Char(';'),
                                                                                         Qt::SkipEmptyParts);
}

} // namespace

int CParameter::selectorOf(int parameter) const
{
    for (int s = 0; s < g_relatedUnitRules.size(); ++s) {
        for (const QString &number : governedBy(s)) {
            if (number.trimmed().toInt() == parameter)
                return s;
        }
    }
    return -1;
}

int CParameter::unreadSelectorOf(int parameter) const
{
    const int s = selectorOf(parameter);
    return s >= 0 && s < m_selectorUnread.size() && m_selectorUnread.at(s) ? s : -1;
}

// The keypad may have changed the selector since the load: only its value now tells the unit.
bool CParameter::readUnitNow(int selector, const QString &heldBack)
{
    if (selector < 0 || selector >= m_selectorUnread.size())
        return false;
    if (!heldBack.isEmpty() && g_mainWindow)
        g_mainWindow->refusalSubject = heldBack;
    bool ok = false;
    const double value = readFromDrive(selector, 1.0, &ok);
    if (!heldBack.isEmpty() && g_mainWindow)
        g_mainWindow->refusalSubject.clear();
    if (!ok) {
        if (!m_selectorUnread.at(selector)) {
            m_selectorUnread[selector] = true;
            showUnreadUnits();
        }
        return false;
    }
    const QString text = formatValue(value);
    const QString rule = g_relatedUnitRules.value(selector);
    if (m_selectorUnread.at(selector) || rule.section(QStringLiteral("//"), 0, 0) != text) {
        updateRelatedUnits(rule, text, g_relatedUnitText);
        resolveGovernedRows(selector, text);
    }
    return true;
}

QString CParameter::unreadUnitText(const QString &parameters, int selector)
{
    return tr("The unit of %1 is set by P.%2, which could not be read: nothing was written.")
        .arg(parameters)
        .arg(selector);
}

QString CParameter::unreadValueText(int parameter, int selector)
{
    return tr("The unit of P.%1 is set by P.%2, which could not be read: no value is shown.")
        .arg(parameter)
        .arg(selector);
}

void CParameter::selectorKnown(int selector)
{
    if (selector >= 0 && selector < m_selectorUnread.size())
        m_selectorUnread[selector] = false;
}

// The Unit cell names the selector instead of the unit its guessed value would give.
void CParameter::showUnreadUnits()
{
    for (int s = 0; s < m_selectorUnread.size(); ++s) {
        if (!m_selectorUnread.at(s))
            continue;
        for (const QString &number : governedBy(s)) {
            const int row = rowOfLabel(number.trimmed().toInt());
            if (row >= 0)
                setItemText(row, 7, tr("unknown: P.%1 not read").arg(s));
        }
    }
}
