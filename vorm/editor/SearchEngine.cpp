#include "SearchEngine.h"

#include <algorithm>

namespace {

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

bool SearchEngine::MatchesAt(qsizetype position) const {
    const qsizetype length = searchText.size();
    if (position < 0 || position + length > text.size())
        return false;
    const Qt::CaseSensitivity cs = options.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (QStringView(text).mid(position, length).compare(searchText, cs) != 0)
        return false;
    if (!options.WholeWord)
        return true;
    const bool startsWord = position == 0 || !IsWordCharacter(text[position - 1]);
    const bool endsWord =
        position + length == text.size() || !IsWordCharacter(text[position + length]);
    return startsWord && endsWord;
}

qsizetype SearchEngine::SimpleSearch(qsizetype from, qsizetype to) const {
    const qsizetype length = searchText.size();
    if (length == 0)
        return -1;
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, text.size() - 1);
    const Qt::CaseSensitivity cs = options.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // Searched in a view of the range only, so that the scan never runs past its end.
    const QStringView range = QStringView(text).mid(from, std::max<qsizetype>(to - from + 1, 0));
    for (qsizetype at = range.indexOf(searchText, 0, cs); at >= 0;
         at = range.indexOf(searchText, at + 1, cs)) {
        if (!options.WholeWord || MatchesAt(from + at))
            return from + at;
    }
    return -1;
}

qsizetype SearchEngine::LastMatch(qsizetype from, qsizetype to) const {
    for (qsizetype at = to - searchText.size() + 1; at >= from; --at)
        if (MatchesAt(at))
            return at;
    return -1;
}

qsizetype SearchEngine::BinarySearch(qsizetype from, qsizetype to) const {
    const qsizetype length = searchText.size();
    if (length == 0)
        return -1;
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, text.size() - 1);
    // Iterative halving: each step keeps the half that holds the nearest match to the end.
    while (to - from + 1 >= 2 * length) {
        const qsizetype mid = (from + to) / 2;
        if (SimpleSearch(mid + 1, to) >= 0)
            from = mid + 1;
        else
            to = mid + length - 1; // a match may begin at or before mid and end after it
    }
    return LastMatch(from, to);
}
