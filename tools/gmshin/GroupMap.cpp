#include "GroupMap.h"

#include "ItemLine.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace {

const QString Heading = QStringLiteral("Gmsh group map 1");

bool RoleOf(const QString& word, GroupMap::Role& role) {
    for (GroupMap::Role candidate : {GroupMap::Role::Support, GroupMap::Role::Load,
                                     GroupMap::Role::Spring, GroupMap::Role::Material}) {
        if (word.compare(GroupMap::RoleName(candidate), Qt::CaseInsensitive) == 0) {
            role = candidate;
            return true;
        }
    }
    return false;
}

// One line of the map: the group, the role and its values; an error text when it is not one.
QString ParseLine(const QString& text, GroupMap::Entry& entry) {
    QString rest;
    if (text.startsWith(u'"')) {
        const qsizetype close = text.indexOf(u'"', 1);
        if (close < 0)
            return QStringLiteral("the group's name has no closing quote");
        entry.Group = text.mid(1, close - 1);
        rest = text.mid(close + 1);
    } else {
        static const QRegularExpression key(QStringLiteral("^([0-3]):([0-9]+)(\\s|$)"));
        const QRegularExpressionMatch match = key.match(text);
        if (!match.hasMatch())
            return QStringLiteral("a group in quotes or as DIMENSION:TAG expected");
        entry.Group = GroupMap::Key(match.captured(1).toInt(), match.captured(2).toInt());
        entry.Named = false;
        rest = text.mid(match.capturedEnd(2));
    }
    const QStringList words = rest.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || !RoleOf(words[0], entry.Kind))
        return QStringLiteral("a role expected after the group: support, load, spring or material");
    for (qsizetype i = 1; i < words.size(); ++i) {
        bool ok = false;
        const double value = words[i].toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return QStringLiteral("\"%1\" is not a number").arg(words[i].left(40));
        entry.Values.push_back(value);
    }
    if (entry.Values.empty() || entry.Values.size() > 16)
        return QStringLiteral("the role %1 needs its values").arg(words[0]);
    return {};
}

} // namespace

QString GroupMap::RoleName(Role role) {
    switch (role) {
    case Role::Support:
        return QStringLiteral("support");
    case Role::Load:
        return QStringLiteral("load");
    case Role::Spring:
        return QStringLiteral("spring");
    case Role::Material:
        return QStringLiteral("material");
    }
    return {};
}

GroupMap::Result GroupMap::Read(const QByteArray& bytes) {
    Result result;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    bool headed = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = lines[i].trimmed();
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        if (!headed) {
            if (text != Heading) {
                result.Error = QStringLiteral("line %1: \"%2\" expected").arg(i + 1).arg(Heading);
                return result;
            }
            headed = true;
            continue;
        }
        Entry entry;
        entry.Line = int(i + 1);
        const QString error = ParseLine(text, entry);
        if (!error.isEmpty()) {
            result.Error = QStringLiteral("line %1: %2").arg(i + 1).arg(error);
            return result;
        }
        for (const Entry& other : result.Entries)
            if (other.Group == entry.Group && other.Named == entry.Named) {
                result.Error = QStringLiteral("line %1: the group \"%2\" has a role already "
                                              "(line %3); each group has one")
                                   .arg(i + 1)
                                   .arg(entry.Group)
                                   .arg(other.Line);
                return result;
            }
        result.Entries.push_back(entry);
    }
    result.Ok = true;
    return result;
}

QByteArray GroupMap::ToBytes() const {
    QStringList lines{Heading, QStringLiteral("; group (\"name\" or dimension:tag), role, values")};
    for (const Entry& entry : Entries) {
        QStringList words;
        words << (entry.Named ? QStringLiteral("\"%1\"").arg(entry.Group) : entry.Group);
        words << RoleName(entry.Kind);
        for (double value : entry.Values)
            words << ItemLine::NumberText(value);
        lines << words.join(u' ');
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString GroupMap::PathFor(const QString& dataPath) {
    const QFileInfo info(dataPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".gmi"));
}
