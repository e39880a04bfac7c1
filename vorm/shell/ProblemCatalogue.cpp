#include "ProblemCatalogue.h"

#include <array>

namespace {

using K = MenuItemKind;

ProblemEntry Group(int tag, const char* caption) {
    return {tag, 0, K::Group, {}, QString::fromUtf8(caption), {}, {}, 0, 0, {}, {}};
}

// A problem type whose accepted files end in `number` and new ones in `number` + 50.
ProblemEntry Problem(int tag, int group, const char* handler, const char* caption, char letter,
                     int number) {
    const QString lower =
        QStringLiteral("%1%2").arg(QChar::fromLatin1(letter)).arg(number, 2, 10, QChar(u'0'));
    const QString upper = QStringLiteral("%1%2").arg(QChar::fromLatin1(letter)).arg(number + 50);
    return {tag,
            group,
            K::Problem,
            QString::fromLatin1(handler),
            QString::fromUtf8(caption),
            upper,
            QStringLiteral("|*.%1;*.%2").arg(upper, lower),
            number,
            number + 50,
            {},
            {}};
}

ProblemEntry Tool(int tag, const char* handler, const char* caption, const char* program,
                  QStringList arguments) {
    return {tag, 84, K::Tool, QString::fromLatin1(handler), QString::fromUtf8(caption), {},
            {},  0,  0,       QString::fromLatin1(program), std::move(arguments)};
}

ProblemEntry Item(int tag, int group, MenuItemKind kind, const char* handler, const char* caption,
                  const char* extension = "") {
    return {tag,
            group,
            kind,
            QString::fromLatin1(handler),
            QString::fromUtf8(caption),
            QString::fromLatin1(extension),
            {},
            0,
            0,
            {},
            {}};
}

std::vector<ProblemEntry> MakeEntries() {
    return {
        Group(81, "Статика"),
        Problem(1, 81, "N5Click", "Прави и криви греди / рамки", 'd', 1),
        Problem(2, 81, "N6Click", "Система ососиметрични черупки..", 'd', 2),
        Problem(3, 81, "N7Click", "Равнинни ферми", 'd', 3),
        Problem(4, 81, "N8Click", "Пространствени ферми", 'd', 4),
        Problem(5, 81, "N9Click", "Равнинни рамки", 'd', 5),
        Problem(6, 81, "N10Click", "Гредоскари", 'd', 6),
        Problem(7, 81, "N11Click", "Пространствени рамки", 'd', 7),
        Problem(8, 81, "N12Click", "Равнинно напрегнато състояние", 'd', 9),
        Problem(9, 81, "N13Click", "Равнинно деформир. състояние", 'd', 10),
        Problem(10, 81, "N14Click", "Ососиметрични тела", 'd', 11),
        Problem(11, 81, "N15Click", "Плочи с произволни очертания", 'd', 13),
        Problem(12, 81, "N16Click", "Черупки с произволна форма", 'd', 14),
        Problem(13, 81, "N17Click", "Усукване на произволни профили", 'd', 16),
        Problem(14, 81, "N18Click", "Тримерни масивни тела", 'd', 17),
        Group(82, "Динамика"),
        Problem(21, 82, "N19Click", "Сложни равнинни рамки / греди", 'd', 8),
        Problem(22, 82, "N20Click", "Валолинии", 'd', 12),
        Problem(23, 82, "N21Click", "Устойчивост на равн.рамки/греди", 'd', 15),
        Problem(24, 82, "N22Click", "Плочи с произволна форма", 'p', 13),
        Problem(25, 82, "N23Click", "Пространствени рамки", 'p', 7),
        Problem(26, 82, "N24Click", "Пространсвени ферми", 'p', 4),
        Group(83, "Математика"),
        Problem(31, 83, "N25Click", "Система линейни алг. уравнения", 'd', 21),
        Problem(32, 83, "N26Click", "Собствени значения и вектори", 'd', 22),
        Problem(33, 83, "N27Click", "Обратна матрица / детерминанта", 'd', 23),
        Problem(34, 83, "N28Click", "Фурие анализ на период. функция", 'd', 24),
        Problem(35, 83, "N29Click", "Нелинейно алгебрично уравнение", 'd', 25),
        Problem(36, 83, "N30Click", "Система диференциални уравнения", 'd', 26),
        Problem(37, 83, "N31Click", "Собствени значения на диф. у-я", 'd', 27),
        Group(84, "Други"),
        Tool(41, "N32Click", "Геометрични характеристики", "QUARVEL", {QStringLiteral("G")}),
        Tool(42, "N33Click", "Секторни    характеристики", "QUARVEL", {QStringLiteral("S")}),
        Tool(43, "N34Click", "Главни напрежения и направления", "Halbrin", {}),
        Tool(44, "N35Click", "Архитектурни обекти", "Prusk", {}),
        Item(ProblemCatalogue::DataFilesTag, 84, K::DataFiles, "Datafiles1Click", "Data files",
             "dat"),
        Group(112, "&Help"),
        Item(114, 112, K::Help, "Help1Click", "&Help"),
        Item(113, 112, K::About, "AboutClick", "&About"),
    };
}

// Solver executables by tag; the tools' executables close the table.
constexpr std::array<const char*, 45> SolverNames = {
    nullptr,  "Dorvan", "Kelmis", "Rabeno", "Sutalo", "Pelgon",  "Tavrin",  "Hosken",  "Omberi",
    "Zuntel", "Frelam", "Nuvast", "Clobin", "Brasko", "Fentar",  nullptr,   nullptr,   nullptr,
    nullptr,  nullptr,  nullptr,  "Lirtag", "Gimbro", "Wempel",  "Yerdol",  "Quendo",  "Mirbek",
    nullptr,  nullptr,  nullptr,  nullptr,  "Pomrak", "Sarvel",  "Tekru",   "Ulvant",  "Jastro",
    "Rendup", "Zorbek", nullptr,  nullptr,  nullptr,  "Quarvel", "Quarvel", "Halbrin", "Prusk",
};

} // namespace

const std::vector<ProblemEntry>& ProblemCatalogue::Entries() {
    static const std::vector<ProblemEntry> entries = MakeEntries();
    return entries;
}

const ProblemEntry* ProblemCatalogue::Find(int tag) {
    for (const ProblemEntry& entry : Entries())
        if (entry.Tag == tag)
            return &entry;
    return nullptr;
}

QString ProblemCatalogue::SolverName(int tag) {
    if (tag < 1 || tag >= int(SolverNames.size()) || SolverNames[size_t(tag)] == nullptr)
        return {};
    return QString::fromLatin1(SolverNames[size_t(tag)]);
}
