#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <limits>

class ParsedData;

// What one value of an item line must be: a real or whole number within bounds, a reference
// to an item of an earlier table (a node, a material, ...), a load case, or one of a few
// words. The rules are built by the factory functions so that a format reads like its
// manual.
struct ValueRule {
    enum class Kind { Real, Integer, Word };

    QString Name; // as the manual calls the value, for messages: "E", "node i", "load case"
    Kind Type = Kind::Real;
    double Min = -std::numeric_limits<double>::infinity();
    double Max = std::numeric_limits<double>::infinity();
    bool MinExclusive = false;
    bool MaxExclusive = false;
    int RefTable = 0;        // an item number of this table, 1 to its item count
    bool ZeroIsNone = false; // with RefTable: 0 stands for "no item" (a triangle's 4th corner)
    int RefGeneralItem = 0;  // 1 to the value of this item of table 1 (load cases)
    QStringList Words;       // Word: the accepted words in upper case; the value is the index
    // The value goes into a model file of 32-bit IEEE singles (node coordinates), so it must
    // not pass the largest single.
    bool SingleRange = false;
    // A count of table 1 with an upper limit the package sets (see CountLimits.h), so that a
    // value beyond it is reported as beyond that limit.
    bool Limited = false;

    static ValueRule Real(const QString& name);
    static ValueRule Positive(const QString& name);
    static ValueRule NonNegative(const QString& name);
    static ValueRule RealBelow(const QString& name, double min, double maxExclusive);
    static ValueRule Whole(const QString& name, int min, int max = std::numeric_limits<int>::max());
    // A whole number from `min` up to the package's limit `max` for that count.
    static ValueRule Count(const QString& name, int min, int max);
    static ValueRule Flag(const QString& name);
    static ValueRule Ref(const QString& name, int table, bool zeroIsNone = false);
    static ValueRule LoadCase();
    static ValueRule OneOf(const QString& name, const QStringList& words);

    // Reads `token` into `value`; returns what is wrong with it, or an empty text. `data` gives
    // the item counts of the tables read so far and the values of table 1.
    QString Read(QStringView token, const ParsedData& data, double& value) const;

    // Plain number syntax: optional sign, digits with at most one ".", optional exponent.
    // Rejects what a text-to-number routine would stretch to accept ("inf", "0x1A", "1,5").
    static bool ParseReal(QStringView token, double& value);
    static bool ParseWhole(QStringView token, double& value);
};
