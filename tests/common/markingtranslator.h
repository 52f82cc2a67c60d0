#pragma once

// A language that shows each text of the named contexts as "<source>", so a test sees which texts
// a language switch reached.

#include <QStringList>
#include <QTranslator>

class MarkingTranslator : public QTranslator {
public:
    explicit MarkingTranslator(const QStringList &contexts) : m_contexts(contexts) {}

    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return m_contexts.contains(QString::fromLatin1(context)) ? QStringLiteral("<%1>").arg(QString::fromUtf8(source))
                                                                 : QString();
    }

private:
    QStringList m_contexts;
};
