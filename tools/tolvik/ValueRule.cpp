#include "ValueRule.h"

#include "ParsedData.h"

#include <cmath>

namespace {

QString NumberText(double value) {
    return QString::number(value, 'g', 12);
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Skips a run of digits from `i`; returns how many there were.
qsizetype SkipDigits(QStringView token, qsizetype& i) {
    const qsizetype start = i;
    while (i < token.size() && IsDigit(token[i]))
        ++i;
    return i - start;
}

QString WordList(const QStringList& words) {
    if (words.size() <= 1)
        return words.value(0);
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           words.last();
}

} // namespace

ValueRule ValueRule::Real(const QString& name) {
    ValueRule rule;
    rule.Name = name;
    return rule;
}

ValueRule ValueRule::Positive(const QString& name) {
    ValueRule rule = Real(name);
    rule.Min = 0;
    rule.MinExclusive = true;
    return rule;
}

ValueRule ValueRule::NonNegative(const QString& name) {
    ValueRule rule = Real(name);
    rule.Min = 0;
    return rule;
}

ValueRule ValueRule::RealBelow(const QString& name, double min, double maxExclusive) {
    ValueRule rule = Real(name);
    rule.Min = min;
    rule.Max = maxExclusive;
    rule.MaxExclusive = true;
    return rule;
}

ValueRule ValueRule::Whole(const QString& name, int min, int max) {
    ValueRule rule = Real(name);
    rule.Type = Kind::Integer;
    rule.Min = min;
    rule.Max = max;
    return rule;
}

ValueRule ValueRule::Count(const QString& name, int min, int max) {
    ValueRule rule = Whole(name, min, max);
    rule.Limited = true;
    return rule;
}

ValueRule ValueRule::Flag(const QString& name) {
    return Whole(name, 0, 1);
}

ValueRule ValueRule::Ref(const QString& name, int table, bool zeroIsNone) {
    ValueRule rule = Whole(name, zeroIsNone ? 0 : 1);
    rule.RefTable = table;
    rule.ZeroIsNone = zeroIsNone;
    return rule;
}

ValueRule ValueRule::LoadCase() {
    ValueRule rule = Whole(QStringLiteral("load case"), 1);
    rule.RefGeneralItem = 4;
    return rule;
}

ValueRule ValueRule::OneOf(const QString& name, const QStringList& words) {
    ValueRule rule = Real(name);
    rule.Type = Kind::Word;
    rule.Words = words;
    return rule;
}

bool ValueRule::ParseReal(QStringView token, double& value) {
    qsizetype i = 0;
    if (i < token.size() && (token[i] == u'+' || token[i] == u'-'))
        ++i;
    qsizetype digits = SkipDigits(token, i);
    if (i < token.size() && token[i] == u'.') {
        ++i;
        digits += SkipDigits(token, i);
    }
    if (digits == 0)
        return false;
    if (i < token.size() && (token[i] == u'e' || token[i] == u'E')) {
        ++i;
        if (i < token.size() && (token[i] == u'+' || token[i] == u'-'))
            ++i;
        if (SkipDigits(token, i) == 0)
            return false;
    }
    if (i != token.size())
        return false;
    bool ok = false;
    value = token.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool ValueRule::ParseWhole(QStringView token, double& value) {
    qsizetype i = 0;
    if (i < token.size() && (token[i] == u'+' || token[i] == u'-'))
        ++i;
    const qsizetype digits = SkipDigits(token, i);
    // Fifteen digits still convert exactly; no count in a data file comes near it.
    if (digits == 0 || digits > 15 || i != token.size())
        return false;
    bool ok = false;
    value = static_cast<double>(token.toLongLong(&ok));
    return ok;
}

QString ValueRule::Read(QStringView token, const ParsedData& data, double& value) const {
    if (Type == Kind::Word) {
        const qsizetype index = Words.indexOf(token.toString().toUpper());
        if (index < 0)
            return QStringLiteral("%1 must be %2, not \"%3\"")
                .arg(Name, WordList(Words), token.toString());
        value = static_cast<double>(index);
        return {};
    }
    if (Type == Kind::Integer) {
        if (!ParseWhole(token, value))
            return QStringLiteral("%1: \"%2\" is not a whole number").arg(Name, token.toString());
    } else if (!ParseReal(token, value)) {
        double ignored = 0;
        if (token.contains(u',') && ParseReal(token.toString().replace(u',', u'.'), ignored))
            return QStringLiteral("%1: \"%2\" is not a number; write decimals with a point")
                .arg(Name, token.toString());
        return QStringLiteral("%1: \"%2\" is not a number").arg(Name, token.toString());
    }

    if (SingleRange && std::abs(value) > std::numeric_limits<float>::max()) {
        const QString largest = NumberText(std::numeric_limits<float>::max());
        return QStringLiteral("%1 is %2; a coordinate must lie between -%3 and %3")
            .arg(Name, NumberText(value), largest);
    }
    if (RefTable > 0) {
        if (value == 0 && ZeroIsNone)
            return {};
        const ParsedTable* table = data.Table(RefTable);
        const QString items =
            table ? table->ItemsName : QStringLiteral("items in table %1").arg(RefTable);
        const int count = data.ItemCount(RefTable);
        if (value < 1)
            return QStringLiteral("%1 is %2; %3 are numbered from 1")
                .arg(Name, NumberText(value), items);
        if (value > count)
            return count == 0 ? QStringLiteral("%1 is %2, but no %3 are defined")
                                    .arg(Name, NumberText(value), items)
                              : QStringLiteral("%1 is %2, but the %3 go only up to %4")
                                    .arg(Name, NumberText(value), items)
                                    .arg(count);
        return {};
    }
    if (RefGeneralItem > 0) {
        const double limit = data.GeneralNumber(RefGeneralItem);
        if (value < 1 || value > limit)
            return QStringLiteral("%1 %2 is not declared: item %3 of table 1 gives %4")
                .arg(Name, NumberText(value))
                .arg(RefGeneralItem)
                .arg(NumberText(limit));
        return {};
    }

    const bool belowMin = MinExclusive ? value <= Min : value < Min;
    const bool aboveMax = MaxExclusive ? value >= Max : value > Max;
    if (!belowMin && !aboveMax)
        return {};
    const QString shown = NumberText(value);
    if (Limited && aboveMax && Min != Max)
        return QStringLiteral("%1 is %2; a data file may ask for at most %3")
            .arg(Name, shown, NumberText(Max));
    if (Type == Kind::Integer && Min == 0 && Max == 1)
        return QStringLiteral("%1 must be 0 or 1, not %2").arg(Name, shown);
    if (Type == Kind::Integer && std::isfinite(Max) && Max < std::numeric_limits<int>::max() &&
        (!Limited || Min == Max)) {
        if (Min == Max)
            return QStringLiteral("%1 must be %2, not %3").arg(Name, NumberText(Min), shown);
        return QStringLiteral("%1 must be from %2 to %3, not %4")
            .arg(Name, NumberText(Min), NumberText(Max), shown);
    }
    if (belowMin) {
        if (MinExclusive)
            return QStringLiteral("%1 must be greater than %2, not %3")
                .arg(Name, NumberText(Min), shown);
        return QStringLiteral("%1 must be at least %2, not %3").arg(Name, NumberText(Min), shown);
    }
    return QStringLiteral("%1 must be less than %2, not %3").arg(Name, NumberText(Max), shown);
}
