#pragma once

#include <QString>

// Finds a text inside a snapshot of the editor's text. Positions are character indices with
// one character per line break, as the text control counts them. A match counts only when it
// lies wholly inside the range asked for; whole-word matches need a non-word character (or
// the start or end of the text) on both sides.
class SearchEngine {
public:
    struct Options {
        bool WholeWord = false;
        bool MatchCase = false;
    };

    SearchEngine(const QString& text, const QString& searchText, Options options)
        : text(text), searchText(searchText), options(options) {}

    // The first match in from..to, both included, or -1.
    qsizetype SimpleSearch(qsizetype from, qsizetype to) const;
    // The match nearest the end of from..to, or -1. The range is halved as long as it holds
    // two search texts; the lower half reaches past the middle by the search text's length
    // less one, so that a match across the middle is still found.
    qsizetype BinarySearch(qsizetype from, qsizetype to) const;

private:
    bool MatchesAt(qsizetype position) const;
    // The last match in a range too short to halve.
    qsizetype LastMatch(qsizetype from, qsizetype to) const;

    const QString& text;
    const QString& searchText;
    Options options;
};
