#include "FrameSeries.h"

#include "ItemLine.h"
#include "ValueRule.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

[[noreturn]] void Fail(int line, const QString& message) {
    throw CheckFault{line, message};
}

// One item of table 4 or 5 while the table is expanded: its line as it stands (empty for a
// generated item) and its values.
struct Item {
    int Line = 0; // counted from 1; 0 for a generated item
    QString Text;
    QStringList Values;
    int SeriesLine = 0; // the series line that made a generated item
};

struct Series {
    int Line = 0;
    QString Text;
};

struct TableItems {
    std::map<int, Item> Items;
    std::vector<Series> SeriesLines;
};

// Reads the whole numbers of a generation line after its "#N" or "#E".
std::vector<long long> SeriesNumbers(const Series& series, int minimum, int maximum,
                                     const QString& form) {
    const std::vector<QStringView> words = ItemLine::SplitWords(QStringView(series.Text).mid(2));
    if (static_cast<int>(words.size()) < minimum || static_cast<int>(words.size()) > maximum)
        Fail(series.Line, QStringLiteral("a series line reads %1").arg(form));
    std::vector<long long> numbers;
    for (QStringView word : words) {
        double value = 0;
        if (!ValueRule::ParseWhole(word, value) || value > 1e9 || value < -1e9)
            Fail(series.Line, QStringLiteral("\"%1\" is not a whole number; a series line reads %2")
                                  .arg(word)
                                  .arg(form));
        numbers.push_back(static_cast<long long>(value));
    }
    return numbers;
}

TableItems Collect(const DataFileText& text, const DataFileText::Span& span,
                   const QString& itemName) {
    TableItems table;
    for (int i = span.Header + 1; i < span.End; ++i) {
        const QString& line = text.Line(i);
        if (!line.startsWith(u'#'))
            continue;
        if (FrameSeries::IsSeriesLine(line)) {
            table.SeriesLines.push_back({i + 1, line});
            continue;
        }
        const ItemLine item = ItemLine::Parse(line);
        if (!item.Valid)
            Fail(i + 1, QStringLiteral("\"#\" must be followed by the item number or by N or E "
                                       "for a series"));
        if (item.Number < 1)
            Fail(i + 1, QStringLiteral("%1 numbers start at 1").arg(itemName));
        const auto known = table.Items.find(item.Number);
        if (known != table.Items.end())
            Fail(i + 1, QStringLiteral("%1 %2 is already given in line %3")
                            .arg(itemName)
                            .arg(item.Number)
                            .arg(known->second.Line));
        Item read{i + 1, line, {}};
        for (QStringView word : item.Words)
            read.Values << word.toString();
        table.Items.emplace(item.Number, std::move(read));
    }
    return table;
}

void Add(TableItems& table, int number, Item item, const Series& series, const QString& name) {
    if (number < 1)
        Fail(series.Line, QStringLiteral("the series would make %1 %2; numbers start at 1")
                              .arg(name)
                              .arg(number));
    const auto known = table.Items.find(number);
    if (known != table.Items.end())
        Fail(series.Line,
             known->second.Line > 0
                 ? QStringLiteral("the series makes %1 %2, which line %3 already gives")
                       .arg(name)
                       .arg(number)
                       .arg(known->second.Line)
                 : QStringLiteral("the series makes %1 %2, which an earlier series already "
                                  "makes")
                       .arg(name)
                       .arg(number));
    if (static_cast<int>(table.Items.size()) >= FrameSeries::MaxItems)
        Fail(series.Line,
             QStringLiteral("the series would make more than %1 items").arg(FrameSeries::MaxItems));
    table.Items.emplace(number, std::move(item));
}

const Item& Defined(const TableItems& table, long long number, const Series& series,
                    const QString& name) {
    const auto found = number >= 1 && number <= 1000000000
                           ? table.Items.find(static_cast<int>(number))
                           : table.Items.end();
    if (found == table.Items.end())
        Fail(series.Line, QStringLiteral("%1 %2 is not given above or among the items of the "
                                         "table")
                              .arg(name)
                              .arg(number));
    return found->second;
}

int ExpandNodes(TableItems& table, int coordinates) {
    const QString form = QStringLiteral("\"#N first last step\"");
    int made = 0;
    for (const Series& series : table.SeriesLines) {
        const std::vector<long long> n = SeriesNumbers(series, 3, 3, form);
        const long long first = n[0], last = n[1], step = n[2];
        if (step < 1)
            Fail(series.Line, QStringLiteral("the step of a node series is 1 or more"));
        if (last - first < 2 * step || (last - first) % step != 0)
            Fail(series.Line,
                 QStringLiteral("from node %1 to node %2 in steps of %3 there is no node "
                                "between; last - first must be a multiple of the step, at "
                                "least twice the step")
                     .arg(first)
                     .arg(last)
                     .arg(step));
        const Item& from = Defined(table, first, series, QStringLiteral("node"));
        const Item& to = Defined(table, last, series, QStringLiteral("node"));
        std::vector<double> a(coordinates), b(coordinates);
        for (const auto& [item, values, name] :
             {std::tuple{&from, &a, first}, std::tuple{&to, &b, last}}) {
            if (item->Values.size() != coordinates)
                Fail(series.Line, QStringLiteral("node %1 needs %2 coordinates to start or end "
                                                 "a series")
                                      .arg(name)
                                      .arg(coordinates));
            for (int c = 0; c < coordinates; ++c) {
                if (!ValueRule::ParseReal(item->Values[c], (*values)[c]))
                    Fail(series.Line, QStringLiteral("coordinate %1 of node %2 is not a number")
                                          .arg(item->Values[c])
                                          .arg(name));
            }
        }
        const long long parts = (last - first) / step;
        if (parts - 1 + static_cast<long long>(table.Items.size()) > FrameSeries::MaxItems)
            Fail(series.Line, QStringLiteral("the series would make more than %1 items")
                                  .arg(FrameSeries::MaxItems));
        for (long long k = 1; k < parts; ++k) {
            Item item;
            item.SeriesLine = series.Line;
            for (int c = 0; c < coordinates; ++c)
                item.Values << ItemLine::NumberText(a[c] +
                                                    (b[c] - a[c]) * double(k) / double(parts));
            Add(table, static_cast<int>(first + k * step), std::move(item), series,
                QStringLiteral("node"));
            ++made;
        }
    }
    return made;
}

// The columns of an element that name nodes, and the nodes there are to name.
struct NodeColumns {
    std::vector<int> Index;
    std::vector<QString> Names; // "node j"
    long long Highest = 0;
    QString ItemsName; // "nodes"
};

// A series whose copies name nodes beyond the last would be refused by the check of the
// expanded file all the same; refused here, before the copies are made, a count of a million
// costs nothing. The message is the one the check gives for the first such copy.
void CheckCopiedNodes(const Series& series, const NodeColumns& columns,
                      const std::vector<long long>& nodes, long long base, long long count,
                      long long numberStep, long long nodeStep) {
    if (nodeStep <= 0)
        return;
    long long first = count + 1;
    size_t column = 0;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i] == 0)
            continue;
        const long long k =
            nodes[i] > columns.Highest ? 1 : (columns.Highest - nodes[i]) / nodeStep + 1;
        if (k < first) {
            first = k;
            column = i;
        }
    }
    if (first > count)
        return;
    Fail(series.Line, QStringLiteral("item %1 that this series makes: %2 is %3, but the %4 go "
                                     "only up to %5")
                          .arg(base + first * numberStep)
                          .arg(columns.Names[column])
                          .arg(nodes[column] + first * nodeStep)
                          .arg(columns.ItemsName)
                          .arg(columns.Highest));
}

int ExpandElements(TableItems& table, const NodeColumns& columns) {
    const std::vector<int>& nodeColumns = columns.Index;
    const QString form = QStringLiteral("\"#E base count\", \"#E base count nstep\" or "
                                        "\"#E base count nstep kstep\"");
    int made = 0;
    for (const Series& series : table.SeriesLines) {
        const std::vector<long long> n = SeriesNumbers(series, 2, 4, form);
        const long long base = n[0], count = n[1];
        const long long numberStep = n.size() > 2 ? n[2] : 1;
        const long long nodeStep = n.size() > 3 ? n[3] : 1;
        if (count < 1)
            Fail(series.Line, QStringLiteral("an element series makes at least 1 copy"));
        if (numberStep == 0)
            Fail(series.Line, QStringLiteral("the number step of an element series is not 0"));
        if (count + static_cast<long long>(table.Items.size()) > FrameSeries::MaxItems)
            Fail(series.Line, QStringLiteral("the series would make more than %1 items")
                                  .arg(FrameSeries::MaxItems));
        const Item original = Defined(table, base, series, QStringLiteral("element"));
        std::vector<long long> nodes;
        for (int column : nodeColumns) {
            double node = 0;
            if (column >= original.Values.size() ||
                !ValueRule::ParseWhole(original.Values[column], node))
                Fail(series.Line,
                     QStringLiteral("element %1 needs its node numbers to be copied").arg(base));
            nodes.push_back(static_cast<long long>(node));
        }
        CheckCopiedNodes(series, columns, nodes, base, count, numberStep, nodeStep);
        for (long long k = 1; k <= count; ++k) {
            Item item;
            item.SeriesLine = series.Line;
            item.Values = original.Values;
            for (size_t i = 0; i < nodeColumns.size(); ++i) {
                if (nodes[i] == 0)
                    continue;
                const long long node = nodes[i] + k * nodeStep;
                if (node < 1)
                    Fail(series.Line, QStringLiteral("copy %1 would name node %2; node numbers "
                                                     "start at 1")
                                          .arg(k)
                                          .arg(node));
                item.Values[nodeColumns[i]] = QString::number(node);
            }
            const long long number = base + k * numberStep;
            if (number > FrameSeries::MaxItems)
                Fail(series.Line, QStringLiteral("the series would make element %1, more than "
                                                 "%2")
                                      .arg(number)
                                      .arg(FrameSeries::MaxItems));
            Add(table, static_cast<int>(number), std::move(item), series,
                QStringLiteral("element"));
            ++made;
        }
    }
    return made;
}

// The items in number order, 1 to the highest; a gap is a fault of the table. `origins`
// receives the line each item stands for: its own, or the series line that made it.
QStringList Rewrite(const TableItems& table, const DataFileText::Span& span, const QString& name,
                    int width, std::vector<int>& origins) {
    QStringList lines;
    int expected = 1;
    for (const auto& [number, item] : table.Items) {
        if (number != expected)
            Fail(span.Header + 1, QStringLiteral("%1 %2 is missing: no item or series of the "
                                                 "table gives it")
                                      .arg(name)
                                      .arg(expected));
        lines << (item.Line > 0 ? item.Text : ItemLine::Format(number, item.Values, width));
        origins.push_back(item.Line > 0 ? item.Line : item.SeriesLine);
        ++expected;
    }
    return lines;
}

} // namespace

bool FrameSeries::IsSeriesLine(const QString& line) {
    if (line.size() < 2 || line[0] != u'#')
        return false;
    const QChar kind = line[1].toUpper();
    return (kind == u'N' || kind == u'E') && (line.size() == 2 || line[2].isSpace());
}

bool FrameSeries::HasSeries(const DataFileText& text) {
    const int end = text.EndMark();
    for (int i = 0; i < end; ++i) {
        if (IsSeriesLine(text.Line(i)))
            return true;
    }
    return false;
}

FrameSeries::Outcome FrameSeries::Expand(DataFileText& text, const DataFormat& format) {
    Outcome outcome;
    try {
        const DataFileText::Span nodes = text.Table(4);
        const DataFileText::Span elements = text.Table(5);
        for (int i = 0; i < text.EndMark(); ++i) {
            if (!IsSeriesLine(text.Line(i)))
                continue;
            const QChar kind = text.Line(i)[1].toUpper();
            if (i > nodes.Header && i < nodes.End) {
                if (kind != u'N')
                    Fail(i + 1, QStringLiteral("table 4 takes node series, \"#N first last "
                                               "step\""));
            } else if (i > elements.Header && i < elements.End) {
                if (kind != u'E')
                    Fail(i + 1, QStringLiteral("table 5 takes element series, \"#E base "
                                               "count\""));
            } else {
                Fail(i + 1, QStringLiteral("series lines belong in table 4 (#N) or table 5 "
                                           "(#E)"));
            }
        }
        const TableFormat* nodeFormat = format.Table(4);
        const TableFormat* elementFormat = format.Table(5);
        QStringList nodeLines, elementLines;
        std::vector<int> nodeOrigins, elementOrigins;
        long long highestNode = 0;
        if (nodes.Found() && nodeFormat) {
            TableItems table = Collect(text, nodes, QStringLiteral("node"));
            if (!table.SeriesLines.empty()) {
                outcome.NewNodes = ExpandNodes(table, static_cast<int>(nodeFormat->Columns.size()));
                nodeLines = Rewrite(table, nodes, QStringLiteral("node"), 10, nodeOrigins);
            }
            if (!table.Items.empty())
                highestNode = table.Items.rbegin()->first;
        }
        if (elements.Found() && elementFormat) {
            TableItems table = Collect(text, elements, QStringLiteral("element"));
            if (!table.SeriesLines.empty()) {
                NodeColumns nodeColumns;
                for (size_t c = 0; c < elementFormat->Columns.size(); ++c) {
                    if (elementFormat->Columns[c].RefTable == 4) {
                        nodeColumns.Index.push_back(static_cast<int>(c));
                        nodeColumns.Names.push_back(elementFormat->Columns[c].Name);
                    }
                }
                nodeColumns.Highest = highestNode;
                nodeColumns.ItemsName =
                    nodeFormat ? nodeFormat->ItemsName : QStringLiteral("items in table 4");
                outcome.NewElements = ExpandElements(table, nodeColumns);
                elementLines =
                    Rewrite(table, elements, QStringLiteral("element"), 5, elementOrigins);
            }
        }
        // Each table is found afresh: replacing one moves the lines of the tables below it.
        if (!nodeLines.isEmpty()) {
            text.ReplaceItems(text.Table(4), nodeLines, nodeOrigins);
            text.SetGeneralValue(DataFormat::CountItemOf(4), QString::number(nodeLines.size()));
        }
        if (!elementLines.isEmpty()) {
            text.ReplaceItems(text.Table(5), elementLines, elementOrigins);
            text.SetGeneralValue(DataFormat::CountItemOf(5), QString::number(elementLines.size()));
        }
        outcome.Ok = true;
    } catch (const CheckFault& fault) {
        outcome.Fault = fault;
    }
    return outcome;
}
