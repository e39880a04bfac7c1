#include "ProgramTable.h"

#include <iterator>

QString ProgramTable::Solver(int problemCode, bool dynamicsVariant) {
    if (dynamicsVariant) {
        switch (problemCode) {
        case 4:
            return QStringLiteral("Mirbek");
        case 7:
            return QStringLiteral("Quendo");
        case 13:
            return QStringLiteral("Yerdol");
        default:
            break;
        }
    }
    static const char* const Solvers[] = {
        "",       "Dorvan", "Kelmis", "Rabeno", "Sutalo", "Pelgon",   "Tavrin",
        "Hosken", "Lirtag", "Omberi", "Zuntel", "Frelam", "Gimbro  ", "Nuvast",
        "Clobin", "Wempel", "Brasko", "Fentar", "",       "",         "",
        "Pomrak", "Sarvel", "Tekru",  "Ulvant", "Jastro", "Rendup",   "Zorbek",
    };
    if (problemCode < 0 || problemCode >= int(std::size(Solvers)))
        return {};
    return QString::fromLatin1(Solvers[problemCode]);
}

QString ProgramTable::Viewer(int problemCode) {
    switch (problemCode) {
    case 1:
    case 2:
    case 8:
    case 15:
        return QStringLiteral("Kaddle");
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        return QStringLiteral("Pantex");
    case 9:
    case 10:
    case 11:
    case 13:
    case 14:
    case 16:
        return QStringLiteral("Ciffon");
    case 17:
        return QStringLiteral("Brimto");
    default:
        return {};
    }
}

ProgramTable::Generator ProgramTable::GeneratorOf(int problemCode) {
    const int code = problemCode > 50 ? problemCode - 50 : problemCode;
    if (problemCode == 50 || code < 1)
        return Generator::None;
    if (code <= 8 || code == 15)
        return Generator::Frame;
    if ((code >= 9 && code <= 11) || code == 13 || code == 16)
        return Generator::Plate;
    return Generator::None;
}
