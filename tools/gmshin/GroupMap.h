#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// What the physical groups of a Gmsh mesh become in the data file, kept beside it ("bracket.gmi"
// for "bracket.d59") so that a mesh made again from a changed geometry comes in with the same
// answers. UTF-8 text, one line per group:
//
//   Gmsh group map 1
//   "fixed edge" support 1 1
//   "load" load 1 0 -10
//   "plate" material 1 1
//   1:7 spring 0 500
//
// The group is its physical name in quotes, or DIMENSION:TAG for a group without a name; then
// the role and its values. Lines starting with ";" and blank lines are comments.
class GroupMap {
public:
    enum class Role { Support, Load, Spring, Material };
    struct Entry {
        QString Group;     // the name, or "1:7"
        bool Named = true; // false for a group given by DIMENSION:TAG
        Role Kind = Role::Support;
        std::vector<double> Values;
        int Line = 0; // in the map file, counted from 1
    };
    struct Result {
        bool Ok = false;
        QString Error;              // "line 3: ..."
        std::vector<Entry> Entries; // the map's, when read
    };

    static Result Read(const QByteArray& bytes);
    QByteArray ToBytes() const;

    static QString RoleName(Role role);
    // The map beside a data file: "bracket.gmi" for "bracket.d59".
    static QString PathFor(const QString& dataPath);
    // The key a group without a name is given by.
    static QString Key(int dimension, int tag) {
        return QStringLiteral("%1:%2").arg(dimension).arg(tag);
    }

    std::vector<Entry> Entries;
};
