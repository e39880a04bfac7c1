#include "ResultFile.h"

#include "ProblemType.h"

#include <QDataStream>
#include <QIODevice>
#include <QSysInfo>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <typename Results>
bool Combined(const Results& r) {
    return !r.Combinations.empty() || !r.Envelopes.empty();
}

constexpr char Magic[8] = {'Q', 'V', 'R', 'E', 'S', 'U', 'L', 'T'};

QDataStream& Prepare(QDataStream& stream) {
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    return stream;
}

void WriteNames(QDataStream& out, const QStringList& names) {
    out << static_cast<qint32>(names.size());
    for (const QString& name : names) {
        const QByteArray bytes = name.toLatin1();
        out << static_cast<qint32>(bytes.size());
        out.writeRawData(bytes.constData(), static_cast<int>(bytes.size()));
    }
}

void WriteText(QDataStream& out, const QByteArray& bytes) {
    out << static_cast<qint32>(bytes.size());
    out.writeRawData(bytes.constData(), static_cast<int>(bytes.size()));
}

// A column: its name (Latin-1), its title (UTF-8), its quantity and where it lives.
void WriteLayout(QDataStream& out, const ResultLayout& layout) {
    out << static_cast<qint32>(layout.Count());
    for (const ResultColumn& column : layout.Columns) {
        WriteText(out, column.Name.toLatin1());
        WriteText(out, column.Title.toUtf8());
        out << static_cast<qint32>(column.What) << static_cast<qint32>(column.At);
    }
}

// Little-endian IEEE doubles; on such a machine (all the package runs on) the values' own
// bytes, written and read at once.
constexpr bool LittleEndianHost = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

// Raw writes in pieces that an int counts.
constexpr size_t ChunkValues = size_t{1} << 24;

void WriteValues(QDataStream& out, const std::vector<double>& values) {
    if constexpr (LittleEndianHost) {
        for (size_t first = 0; first < values.size(); first += ChunkValues) {
            const size_t count = std::min(ChunkValues, values.size() - first);
            out.writeRawData(reinterpret_cast<const char*>(values.data() + first),
                             static_cast<int>(count * sizeof(double)));
        }
    } else {
        for (double value : values)
            out << value;
    }
}

constexpr qint64 IntBytes = 4, RealBytes = 8;
// Names of components and forces are short; more than this many of them is not a result file.
constexpr qint32 MaxNames = 64, MaxNameLength = 64, MaxTitleLength = 120;
constexpr qint32 LastQuantity = static_cast<qint32>(ResultColumn::Quantity::Stress);
constexpr qint32 LastWhere = static_cast<qint32>(ResultColumn::Where::EndJ);

// The bytes of the file read front to back; every read says whether the bytes were there.
class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : bytes_(bytes) {}

    qint64 Left() const { return bytes_.size() - at_; }

    bool Int(qint32& value) {
        if (Left() < IntBytes)
            return false;
        value = qFromLittleEndian<qint32>(bytes_.constData() + at_);
        at_ += IntBytes;
        return true;
    }
    bool Real(double& value) {
        if (Left() < RealBytes)
            return false;
        value = qFromLittleEndian<double>(bytes_.constData() + at_);
        at_ += RealBytes;
        return true;
    }
    // `count` numbers; false, with nothing allocated, when the file does not hold them.
    bool Reals(std::vector<double>& values, qint64 count) {
        if (count < 0 || count > Left() / RealBytes)
            return false;
        values.resize(static_cast<size_t>(count));
        if constexpr (LittleEndianHost) {
            if (count > 0)
                std::memcpy(values.data(), bytes_.constData() + at_,
                            static_cast<size_t>(count * RealBytes));
            at_ += count * RealBytes;
        } else {
            for (double& value : values) {
                value = qFromLittleEndian<double>(bytes_.constData() + at_);
                at_ += RealBytes;
            }
        }
        return true;
    }
    bool Raw(char* target, qint64 count) {
        if (count < 0 || count > Left())
            return false;
        std::memcpy(target, bytes_.constData() + at_, static_cast<size_t>(count));
        at_ += count;
        return true;
    }

private:
    const QByteArray& bytes_;
    qint64 at_ = 0;
};

// A count of things that take at least `each` bytes apiece, checked against the bytes left.
struct Count {
    qint32 Value = 0;
    QString Fault;
};

Count ReadCount(Cursor& in, const QString& what, qint64 each) {
    Count count;
    if (!in.Int(count.Value))
        count.Fault = QStringLiteral("is cut short before the number of %1").arg(what);
    else if (count.Value < 0)
        count.Fault = QStringLiteral("claims %1 %2").arg(count.Value).arg(what);
    else if (each > 0 && count.Value > in.Left() / each)
        count.Fault = QStringLiteral("claims %1 %2, more than its remaining %3 bytes can hold")
                          .arg(count.Value)
                          .arg(what)
                          .arg(in.Left());
    return count;
}

QString ReadNames(Cursor& in, QStringList& names, const QString& what) {
    const Count count = ReadCount(in, what + QStringLiteral(" names"), IntBytes);
    if (!count.Fault.isEmpty())
        return count.Fault;
    if (count.Value > MaxNames)
        return QStringLiteral("claims %1 %2 names").arg(count.Value).arg(what);
    for (qint32 n = 0; n < count.Value; ++n) {
        qint32 length = 0;
        if (!in.Int(length))
            return QStringLiteral("is cut short in its %1 names").arg(what);
        if (length <= 0 || length > MaxNameLength)
            return QStringLiteral("has a %1 name of %2 characters").arg(what).arg(length);
        QByteArray name(length, '\0');
        if (!in.Raw(name.data(), length))
            return QStringLiteral("is cut short in its %1 names").arg(what);
        names << QString::fromLatin1(name);
    }
    return {};
}

// One text of 1 to `most` bytes; empty when the file does not hold it.
QByteArray ReadText(Cursor& in, qint32 most) {
    qint32 length = 0;
    if (!in.Int(length) || length <= 0 || length > most)
        return {};
    QByteArray text(length, '\0');
    return in.Raw(text.data(), length) ? text : QByteArray();
}

// What a column of a layout may not be, or an empty text: a name of other than printable
// characters without spaces, a title with control characters or not UTF-8, a quantity or
// place this reader does not know, a name given twice.
QString ColumnFault(const ResultColumn& column, const QByteArray& title, qint32 what, qint32 where,
                    const ResultLayout& before) {
    for (QChar c : column.Name)
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
            return QStringLiteral("has a column name with a character %1").arg(c.unicode());
    if (column.Title.toUtf8() != title)
        return QStringLiteral("has the title of column %1 not in UTF-8").arg(column.Name);
    for (QChar c : column.Title)
        if (!c.isPrint())
            return QStringLiteral("has a control character in the title of column %1")
                .arg(column.Name);
    if (what < 0 || what > LastQuantity)
        return QStringLiteral("gives column %1 an unknown quantity %2").arg(column.Name).arg(what);
    if (where < 0 || where > LastWhere)
        return QStringLiteral("gives column %1 an unknown place %2").arg(column.Name).arg(where);
    if (before.IndexOf(column.Name) >= 0)
        return QStringLiteral("has column %1 twice").arg(column.Name);
    return {};
}

QString ReadLayout(Cursor& in, ResultLayout& layout, const QString& what) {
    const Count count = ReadCount(in, what + QStringLiteral(" columns"), 4 * IntBytes + 2);
    if (!count.Fault.isEmpty())
        return count.Fault;
    if (count.Value > MaxNames)
        return QStringLiteral("claims %1 %2 columns").arg(count.Value).arg(what);
    for (qint32 n = 0; n < count.Value; ++n) {
        const QByteArray name = ReadText(in, MaxNameLength);
        const QByteArray title = name.isEmpty() ? QByteArray() : ReadText(in, MaxTitleLength);
        qint32 quantity = 0, where = 0;
        if (title.isEmpty() || !in.Int(quantity) || !in.Int(where))
            return QStringLiteral("is cut short or has an empty or too long text in its %1 "
                                  "column %2")
                .arg(what)
                .arg(n + 1);
        ResultColumn column{QString::fromLatin1(name), QString::fromUtf8(title),
                            static_cast<ResultColumn::Quantity>(quantity),
                            static_cast<ResultColumn::Where>(where)};
        if (QString fault = ColumnFault(column, title, quantity, where, layout); !fault.isEmpty())
            return fault;
        layout.Columns.push_back(std::move(column));
    }
    return {};
}

// The columns of a file: its layout from version 4, before that its names, given the layout
// they stood for.
QString ReadColumns(Cursor& in, int version, ResultLayout& layout, const QString& what) {
    if (version >= 4)
        return ReadLayout(in, layout, what);
    QStringList names;
    if (QString fault = ReadNames(in, names, what); !fault.isEmpty())
        return fault;
    const std::optional<ResultLayout> old = ResultLayout::OfOldNames(names);
    if (!old)
        return QStringLiteral("names %1 columns (%2) that no solver of version %3 wrote")
            .arg(what, names.join(u' '))
            .arg(version);
    layout = *old;
    return {};
}

// The reactions of one load case: their count, then per support its node and one value per
// component. A node outside 1 to `nodes` is refused when `nodes` is given.
template <typename Reaction>
QString ReadReactions(Cursor& in, qint64 width, const QString& where,
                      std::vector<Reaction>& reactions, qint32 nodes = -1) {
    const Count supports =
        ReadCount(in, QStringLiteral("supports ") + where, IntBytes + RealBytes * width);
    if (!supports.Fault.isEmpty())
        return supports.Fault;
    reactions.resize(static_cast<size_t>(supports.Value));
    for (Reaction& reaction : reactions) {
        qint32 node = 0;
        if (!in.Int(node) || !in.Reals(reaction.Values, width))
            return QStringLiteral("is cut short ") + where;
        if (nodes >= 0 && (node < 1 || node > nodes))
            return QStringLiteral("names node %1 %2").arg(node).arg(where);
        reaction.Node = node;
    }
    return {};
}

// The section forces of bars and walls: their layout from version 5. Version 4 wrote a layout
// titled by the names alone, and older files the names: both are given the layout the names
// stood for, per unit length of the circumference for walls of revolution.
QString ReadForces(Cursor& in, int version, bool perLength, ResultLayout& forces) {
    if (version >= 5)
        return ReadLayout(in, forces, QStringLiteral("force"));
    QStringList names;
    if (version == 4) {
        ResultLayout titledByName;
        if (QString fault = ReadLayout(in, titledByName, QStringLiteral("force")); !fault.isEmpty())
            return fault;
        names = titledByName.Names();
    } else if (QString fault = ReadNames(in, names, QStringLiteral("force")); !fault.isEmpty()) {
        return fault;
    }
    const std::optional<ResultLayout> old = ResultLayout::OfOldForceNames(names, perLength);
    if (!old)
        return QStringLiteral("names element forces (%1) that no solver of version %2 wrote")
            .arg(names.join(u' '))
            .arg(version);
    forces = *old;
    return {};
}

// The load combinations and envelopes of a file from version 6, after its load cases: int
// combinations, per combination int number, int terms, per term int case and real factor, and
// the values of a case; int envelopes, per envelope int number, int count and the numbers of
// its combinations, and the values of a case four times: the largest values, the smallest, and
// the combinations that give each (as reals). `perCase` is the least a case takes,
// its number with its values.
template <typename Case, typename Envelope, typename Body>
QString ReadCombined(Cursor& in, qint64 perCase, const Body& body, std::vector<Case>& combinations,
                     std::vector<Envelope>& envelopes) {
    const Count combined = ReadCount(in, QStringLiteral("combinations"), perCase);
    if (!combined.Fault.isEmpty())
        return combined.Fault;
    combinations.resize(static_cast<size_t>(combined.Value));
    for (size_t n = 0; n < combinations.size(); ++n) {
        Case& c = combinations[n];
        const QString where = QStringLiteral("in combination %1 of the file").arg(n + 1);
        qint32 number = 0;
        if (!in.Int(number))
            return QStringLiteral("is cut short ") + where;
        c.Number = number;
        const Count terms = ReadCount(in, QStringLiteral("terms ") + where, IntBytes + RealBytes);
        if (!terms.Fault.isEmpty())
            return terms.Fault;
        c.Terms.resize(static_cast<size_t>(terms.Value));
        for (auto& [loadCase, factor] : c.Terms) {
            qint32 value = 0;
            in.Int(value); // there: counted above
            in.Real(factor);
            loadCase = value;
        }
        if (QString fault = body(c, where); !fault.isEmpty())
            return fault;
    }
    // Four cases' values, each with its count of supports, and the envelope's two counts.
    const Count enveloped =
        ReadCount(in, QStringLiteral("envelopes"), 4 * (perCase - IntBytes) + 2 * IntBytes);
    if (!enveloped.Fault.isEmpty())
        return enveloped.Fault;
    envelopes.resize(static_cast<size_t>(enveloped.Value));
    for (size_t n = 0; n < envelopes.size(); ++n) {
        Envelope& e = envelopes[n];
        const QString where = QStringLiteral("in envelope %1 of the file").arg(n + 1);
        qint32 number = 0;
        if (!in.Int(number))
            return QStringLiteral("is cut short ") + where;
        e.Number = number;
        const Count named = ReadCount(in, QStringLiteral("combinations ") + where, IntBytes);
        if (!named.Fault.isEmpty())
            return named.Fault;
        e.Combinations.resize(static_cast<size_t>(named.Value));
        for (int& combination : e.Combinations) {
            qint32 value = 0;
            in.Int(value); // there: counted above
            combination = value;
        }
        for (Case* part : {&e.Max, &e.Min, &e.MaxBy, &e.MinBy}) {
            part->Number = number;
            if (QString fault = body(*part, where); !fault.isEmpty())
                return fault;
        }
    }
    return {};
}

QString ReadStatics(Cursor& in, int version, bool perLength, StaticResults& r) {
    qint32 nodes = 0, elements = 0, arcPoints = 0;
    // Numbers of things whose values come later: checked against the bytes there.
    const auto counted = [&in](qint32& value, const QString& what) {
        const Count count = ReadCount(in, what, 0);
        value = count.Value;
        return count.Fault;
    };
    if (QString fault = counted(nodes, QStringLiteral("nodes")); !fault.isEmpty())
        return fault;
    if (QString fault = counted(elements, QStringLiteral("elements")); !fault.isEmpty())
        return fault;
    // Version 1 had no inner points of arcs.
    if (version >= 2) {
        if (QString fault = counted(arcPoints, QStringLiteral("inner points of arcs"));
            !fault.isEmpty())
            return fault;
    }
    r.Nodes = nodes;
    r.Elements = elements;
    r.ArcPoints = arcPoints;
    if (QString fault = ReadNames(in, r.Components, QStringLiteral("component")); !fault.isEmpty())
        return fault;
    if (QString fault = ReadForces(in, version, perLength, r.Forces); !fault.isEmpty())
        return fault;
    const qint64 width = r.Components.size(), forces = r.Forces.Count();
    // The least a load case takes: its number, its displacements, the count of its supports
    // and its element forces.
    const qint64 perCase = 2 * IntBytes + RealBytes * ((qint64(nodes) + arcPoints) * width +
                                                       qint64(elements) * forces);
    const Count cases = ReadCount(in, QStringLiteral("load cases"), perCase);
    if (!cases.Fault.isEmpty())
        return cases.Fault;
    // A case's values after its number: those of a combination and an envelope's too.
    const auto body = [&](StaticResults::Case& c, const QString& where) -> QString {
        if (!in.Reals(c.Displacements, nodes * width) ||
            !in.Reals(c.ArcDisplacements, arcPoints * width))
            return QStringLiteral("is cut short ") + where;
        if (QString fault = ReadReactions(in, width, where, c.Reactions); !fault.isEmpty())
            return fault;
        if (!in.Reals(c.Forces, qint64(elements) * forces))
            return QStringLiteral("is cut short ") + where;
        return {};
    };
    r.Cases.reserve(static_cast<size_t>(cases.Value));
    for (qint32 n = 0; n < cases.Value; ++n) {
        StaticResults::Case c;
        qint32 number = 0;
        const QString where = QStringLiteral("in load case %1 of the file").arg(n + 1);
        if (!in.Int(number))
            return QStringLiteral("is cut short ") + where;
        c.Number = number;
        if (QString fault = body(c, where); !fault.isEmpty())
            return fault;
        r.Cases.push_back(std::move(c));
    }
    if (version < 6)
        return {};
    return ReadCombined(in, perCase, body, r.Combinations, r.Envelopes);
}

QString ReadShapes(Cursor& in, int version, ResultFile::Shapes& s) {
    const Count nodes = ReadCount(in, QStringLiteral("nodes"), 0);
    if (!nodes.Fault.isEmpty())
        return nodes.Fault;
    s.Nodes = nodes.Value;
    qint64 inner = 0;
    // Versions before 3 had neither the elements, their pieces nor the inner points.
    if (version >= 3) {
        const Count elements = ReadCount(in, QStringLiteral("elements"), IntBytes);
        if (!elements.Fault.isEmpty())
            return elements.Fault;
        s.Elements = elements.Value;
        s.Pieces.resize(static_cast<size_t>(elements.Value));
        for (size_t e = 0; e < s.Pieces.size(); ++e) {
            qint32 pieces = 0;
            in.Int(pieces); // there: counted above
            if (pieces < 1)
                return QStringLiteral("divides element %1 into %2 pieces").arg(e + 1).arg(pieces);
            s.Pieces[e] = pieces;
            inner += pieces - 1;
            // Each inner point has a number per component and shape.
            if (inner > in.Left() / RealBytes)
                return QStringLiteral("divides its elements into more pieces than it holds "
                                      "numbers for");
        }
    }
    if (QString fault = ReadNames(in, s.Components, QStringLiteral("component")); !fault.isEmpty())
        return fault;
    const qint64 width = s.Components.size();
    const qint64 perShape = IntBytes + RealBytes * (1 + (qint64(s.Nodes) + inner) * width);
    const Count shapes = ReadCount(in, QStringLiteral("shapes"), perShape);
    if (!shapes.Fault.isEmpty())
        return shapes.Fault;
    s.List.resize(static_cast<size_t>(shapes.Value));
    for (size_t n = 0; n < s.List.size(); ++n) {
        ResultFile::Shapes::Shape& shape = s.List[n];
        qint32 loadCase = 0;
        if (!in.Int(loadCase) || !in.Real(shape.Value) ||
            !in.Reals(shape.Displacements, s.Nodes * width) ||
            !in.Reals(shape.Inner, inner * width))
            return QStringLiteral("is cut short in shape %1").arg(n + 1);
        shape.Case = loadCase;
    }
    return {};
}

QString ReadField(Cursor& in, int version, bool torsion, FieldResults& r) {
    const Count nodes = ReadCount(in, QStringLiteral("nodes"), 0);
    if (!nodes.Fault.isEmpty())
        return nodes.Fault;
    const Count elements = ReadCount(in, QStringLiteral("elements"), 0);
    if (!elements.Fault.isEmpty())
        return elements.Fault;
    r.Nodes = nodes.Value;
    r.Elements = elements.Value;
    if (QString fault = ReadNames(in, r.Components, QStringLiteral("component")); !fault.isEmpty())
        return fault;
    if (QString fault = ReadColumns(in, version, r.Columns, QStringLiteral("stress"));
        !fault.isEmpty())
        return fault;
    if (torsion) {
        FieldResults::Torsion t;
        if (!in.Real(t.Moment) || !in.Real(t.G) || !in.Real(t.J) || !in.Real(t.Twist) ||
            !in.Real(t.TauMax) || !in.Real(t.AtY) || !in.Real(t.AtZ))
            return QStringLiteral("is cut short in its torsion constants");
        r.Twist = t;
    }
    const qint64 width = r.Components.size(), stresses = r.Columns.Count();
    const qint64 perCase = 2 * IntBytes + RealBytes * (qint64(r.Nodes) * (width + stresses) +
                                                       qint64(r.Elements) * stresses);
    const Count cases = ReadCount(in, QStringLiteral("load cases"), perCase);
    if (!cases.Fault.isEmpty())
        return cases.Fault;
    const auto body = [&](FieldResults::Case& c, const QString& where) -> QString {
        if (!in.Reals(c.Displacements, r.Nodes * width))
            return QStringLiteral("is cut short ") + where;
        if (QString fault = ReadReactions(in, width, where, c.Reactions, r.Nodes); !fault.isEmpty())
            return fault;
        if (!in.Reals(c.Stresses, qint64(r.Elements) * stresses) ||
            !in.Reals(c.NodeStresses, qint64(r.Nodes) * stresses))
            return QStringLiteral("is cut short ") + where;
        return {};
    };
    r.Cases.reserve(static_cast<size_t>(cases.Value));
    for (qint32 n = 0; n < cases.Value; ++n) {
        FieldResults::Case c;
        qint32 number = 0;
        const QString where = QStringLiteral("in load case %1 of the file").arg(n + 1);
        if (!in.Int(number))
            return QStringLiteral("is cut short ") + where;
        c.Number = number;
        if (QString fault = body(c, where); !fault.isEmpty())
            return fault;
        r.Cases.push_back(std::move(c));
    }
    if (version < 6 || torsion)
        return {};
    return ReadCombined(in, perCase, body, r.Combinations, r.Envelopes);
}

// What follows a case's number, for a combination's and an envelope's values too.
void WriteBody(QDataStream& out, const StaticResults::Case& c) {
    WriteValues(out, c.Displacements);
    WriteValues(out, c.ArcDisplacements);
    out << static_cast<qint32>(c.Reactions.size());
    for (const StaticResults::Reaction& reaction : c.Reactions) {
        out << static_cast<qint32>(reaction.Node);
        WriteValues(out, reaction.Values);
    }
    WriteValues(out, c.Forces);
}

void WriteBody(QDataStream& out, const FieldResults::Case& c) {
    WriteValues(out, c.Displacements);
    out << static_cast<qint32>(c.Reactions.size());
    for (const FieldResults::Reaction& reaction : c.Reactions) {
        out << static_cast<qint32>(reaction.Node);
        WriteValues(out, reaction.Values);
    }
    WriteValues(out, c.Stresses);
    WriteValues(out, c.NodeStresses);
}

template <typename Results>
void WriteCases(QDataStream& out, const Results& r) {
    out << static_cast<qint32>(r.Cases.size());
    for (const auto& c : r.Cases) {
        out << static_cast<qint32>(c.Number);
        WriteBody(out, c);
    }
}

// As ReadCombined reads them; only in files of version 6.
template <typename Results>
void WriteCombined(QDataStream& out, const Results& r) {
    out << static_cast<qint32>(r.Combinations.size());
    for (const auto& c : r.Combinations) {
        out << static_cast<qint32>(c.Number) << static_cast<qint32>(c.Terms.size());
        for (const auto& [loadCase, factor] : c.Terms)
            out << static_cast<qint32>(loadCase) << factor;
        WriteBody(out, c);
    }
    out << static_cast<qint32>(r.Envelopes.size());
    for (const auto& e : r.Envelopes) {
        out << static_cast<qint32>(e.Number) << static_cast<qint32>(e.Combinations.size());
        for (int combination : e.Combinations)
            out << static_cast<qint32>(combination);
        for (const auto* part : {&e.Max, &e.Min, &e.MaxBy, &e.MinBy})
            WriteBody(out, *part);
    }
}

void WriteField(QDataStream& out, bool torsion, const FieldResults& r) {
    out << static_cast<qint32>(r.Nodes) << static_cast<qint32>(r.Elements);
    WriteNames(out, r.Components);
    WriteLayout(out, r.Columns);
    if (torsion) {
        const FieldResults::Torsion t = r.Twist.value_or(FieldResults::Torsion{});
        out << t.Moment << t.G << t.J << t.Twist << t.TauMax << t.AtY << t.AtZ;
    }
    WriteCases(out, r);
    if (!torsion && Combined(r))
        WriteCombined(out, r);
}

void WriteForced(QDataStream& out, const ResultFile::Forced& f) {
    WriteLayout(out, f.Columns);
    for (const std::vector<double>& rows : f.ShapeElements)
        WriteValues(out, rows);
    out << static_cast<qint32>(f.List.size());
    for (const ResultFile::Forced::Excitation& x : f.List) {
        out << static_cast<qint32>(x.Number) << static_cast<qint32>(x.Type)
            << static_cast<qint32>(x.Abscissae.size());
        WriteValues(out, x.Abscissae);
        switch (x.Type) {
        case ResultFile::Forced::Kind::Harmonic:
            WriteValues(out, x.Coordinates);
            break;
        case ResultFile::Forced::Kind::History:
            out << static_cast<qint32>(x.Direct() ? 1 : 0);
            WriteValues(out, x.Direct() ? x.Frames : x.Coordinates);
            WriteValues(out, x.NodePeaks);
            WriteValues(out, x.ElementPeaks);
            break;
        case ResultFile::Forced::Kind::Spectrum:
            out << static_cast<qint32>(x.BaseShears.size());
            for (const auto& [direction, shear] : x.BaseShears)
                out << static_cast<qint32>(direction) << shear;
            WriteValues(out, x.NodePeaks);
            WriteValues(out, x.ElementPeaks);
            break;
        }
    }
}

// The sizes of the forced vibrations' parts, from the shapes and the element columns.
struct ForcedSizes {
    qint64 Shapes = 0, NodeValues = 0, ElementValues = 0, Frame = 0;
};

// An excitation's motion after its instants or frequencies: a harmonic's coordinates, a
// history's coordinates or frames and its peaks, a spectrum's base shears and peaks.
QString ReadMotion(Cursor& in, const ForcedSizes& sizes, qint64 instants, const QString& where,
                   ResultFile::Forced::Excitation& x) {
    using Kind = ResultFile::Forced::Kind;
    bool read = true;
    switch (x.Type) {
    case Kind::Harmonic:
        read = in.Reals(x.Coordinates, instants * sizes.Shapes * 2);
        break;
    case Kind::History: {
        qint32 direct = 0;
        read = in.Int(direct) && (direct == 0 || direct == 1) &&
               (direct == 1 ? in.Reals(x.Frames, instants * sizes.Frame) && sizes.Frame > 0
                            : in.Reals(x.Coordinates, instants * sizes.Shapes)) &&
               in.Reals(x.NodePeaks, sizes.NodeValues * 4) &&
               in.Reals(x.ElementPeaks, sizes.ElementValues * 4);
        break;
    }
    case Kind::Spectrum: {
        const Count directions =
            ReadCount(in, QStringLiteral("directions ") + where, IntBytes + RealBytes);
        if (!directions.Fault.isEmpty() || directions.Value > 3)
            return QStringLiteral("is cut short or shakes more than three directions ") + where;
        for (qint32 d = 0; d < directions.Value; ++d) {
            qint32 axis = 0;
            double shear = 0;
            in.Int(axis); // there: counted above
            in.Real(shear);
            if (axis < 0 || axis > 2)
                return QStringLiteral("shakes an unknown direction %1 ").arg(axis) + where;
            x.BaseShears.emplace_back(axis, shear);
        }
        read = in.Reals(x.NodePeaks, sizes.NodeValues) &&
               in.Reals(x.ElementPeaks, sizes.ElementValues);
        break;
    }
    }
    return read ? QString() : QStringLiteral("is cut short ") + where;
}

// The forced vibrations after the shapes: every size follows from the shapes' nodes, inner
// points and components and the elements' columns, so only the counts of excitations,
// instants and directions are the file's own, each checked against the bytes left.
QString ReadForced(Cursor& in, const ResultFile::Shapes& s, ResultFile::Forced& f) {
    using Kind = ResultFile::Forced::Kind;
    if (QString fault = ReadLayout(in, f.Columns, QStringLiteral("element result"));
        !fault.isEmpty())
        return fault;
    const qint64 width = s.Components.size();
    ForcedSizes sizes;
    sizes.Shapes = static_cast<qint64>(s.List.size());
    sizes.NodeValues = qint64(s.Nodes) * width;
    sizes.ElementValues = qint64(s.Elements) * f.Columns.Count();
    sizes.Frame = (qint64(s.Nodes) + s.InnerPoints()) * width + sizes.ElementValues;
    f.ShapeElements.resize(static_cast<size_t>(sizes.Shapes));
    for (size_t n = 0; n < f.ShapeElements.size(); ++n)
        if (!in.Reals(f.ShapeElements[n], sizes.ElementValues))
            return QStringLiteral("is cut short in the element results of shape %1").arg(n + 1);
    const Count excitations = ReadCount(in, QStringLiteral("excitations"), 3 * IntBytes);
    if (!excitations.Fault.isEmpty())
        return excitations.Fault;
    f.List.resize(static_cast<size_t>(excitations.Value));
    for (size_t k = 0; k < f.List.size(); ++k) {
        ResultFile::Forced::Excitation& x = f.List[k];
        const QString where = QStringLiteral("in excitation %1").arg(k + 1);
        qint32 number = 0, kind = 0;
        if (!in.Int(number) || !in.Int(kind))
            return QStringLiteral("is cut short ") + where;
        if (number < 1 || std::any_of(f.List.begin(), f.List.begin() + static_cast<qsizetype>(k),
                                      [number](const auto& y) { return y.Number == number; }))
            return QStringLiteral("numbers excitation %1 as %2").arg(k + 1).arg(number);
        if (kind < 1 || kind > 3)
            return QStringLiteral("gives excitation %1 an unknown kind %2").arg(number).arg(kind);
        x.Number = number;
        x.Type = static_cast<Kind>(kind);
        const Count count = ReadCount(in, QStringLiteral("instants ") + where, RealBytes);
        if (!count.Fault.isEmpty())
            return count.Fault;
        if (!in.Reals(x.Abscissae, count.Value))
            return QStringLiteral("is cut short ") + where;
        if ((x.Type == Kind::Spectrum) != x.Abscissae.empty())
            return QStringLiteral("gives excitation %1 %2 instants or frequencies")
                .arg(number)
                .arg(x.Abscissae.size());
        // A plot runs along them: they rise, and no frequency is below 0.
        for (size_t i = 0; i < x.Abscissae.size(); ++i)
            if (!std::isfinite(x.Abscissae[i]) || x.Abscissae[i] < 0 ||
                (i > 0 && !(x.Abscissae[i] > x.Abscissae[i - 1])))
                return QStringLiteral("gives excitation %1 instants or frequencies that do not "
                                      "rise from 0")
                    .arg(number);
        if (QString fault = ReadMotion(in, sizes, count.Value, where, x); !fault.isEmpty())
            return fault;
    }
    return {};
}

} // namespace

qint64 ResultFile::Shapes::InnerPoints() const {
    qint64 points = 0;
    for (int pieces : Pieces)
        points += pieces - 1;
    return points;
}

QByteArray ResultFile::Write(const Contents& contents) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    Prepare(out);
    out.writeRawData(Magic, sizeof Magic);
    // A file without combinations or forced vibrations is one of version 5, which older
    // viewers still open; one with combinations but no forced vibrations is one of version 6.
    const bool forced = contents.Type == Kind::Modes && !contents.Vibrations.Empty();
    const bool combined = (contents.Type == Kind::Statics && Combined(contents.Statics)) ||
                          (contents.Type == Kind::Field && Combined(contents.Field));
    out << static_cast<qint32>(forced     ? Version
                               : combined ? 6
                                          : 5)
        << static_cast<qint32>(contents.Type) << static_cast<qint32>(contents.Problem);
    if (contents.Type == Kind::Statics) {
        const StaticResults& r = contents.Statics;
        out << static_cast<qint32>(r.Nodes) << static_cast<qint32>(r.Elements)
            << static_cast<qint32>(r.ArcPoints);
        WriteNames(out, r.Components);
        WriteLayout(out, r.Forces);
        WriteCases(out, r);
        if (Combined(r))
            WriteCombined(out, r);
    } else if (contents.Type == Kind::Field || contents.Type == Kind::Torsion) {
        WriteField(out, contents.Type == Kind::Torsion, contents.Field);
    } else {
        const Shapes& s = contents.Modes;
        out << static_cast<qint32>(s.Nodes) << static_cast<qint32>(s.Elements);
        for (int pieces : s.Pieces)
            out << static_cast<qint32>(pieces);
        WriteNames(out, s.Components);
        out << static_cast<qint32>(s.List.size());
        for (const Shapes::Shape& shape : s.List) {
            out << static_cast<qint32>(shape.Case) << shape.Value;
            WriteValues(out, shape.Displacements);
            WriteValues(out, shape.Inner);
        }
        if (forced)
            WriteForced(out, contents.Vibrations);
    }
    return bytes;
}

ResultFile::ReadOutcome ResultFile::ReadChecked(const QByteArray& bytes) {
    ReadOutcome outcome;
    Cursor in(bytes);
    char magic[8] = {};
    if (!in.Raw(magic, sizeof magic) || std::memcmp(magic, Magic, sizeof magic) != 0) {
        outcome.Fault = QStringLiteral("is not a result file");
        return outcome;
    }
    qint32 version = 0, kind = 0, problem = 0;
    if (!in.Int(version) || !in.Int(kind) || !in.Int(problem)) {
        outcome.Fault = QStringLiteral("is cut short in its heading");
        return outcome;
    }
    outcome.Version = version;
    // The viewer puts these words after the file's name.
    if (version < 1 || version > Version) {
        outcome.Fault =
            QStringLiteral("is of version %1, which this viewer does not know").arg(version);
        return outcome;
    }
    if (kind < 1 || kind > 5) {
        outcome.Fault = QStringLiteral("holds results of an unknown kind %1").arg(kind);
        return outcome;
    }
    Contents contents;
    contents.Type = static_cast<Kind>(kind);
    contents.Problem = problem;
    switch (contents.Type) {
    case Kind::Statics:
        // Walls of revolution give their forces per unit length of the circumference.
        outcome.Fault = ReadStatics(
            in, version, ProblemType::Of(problem).Kind == ProblemType::Family::AxisymmetricShells,
            contents.Statics);
        break;
    case Kind::Modes:
    case Kind::Buckling:
        outcome.Fault = ReadShapes(in, version, contents.Modes);
        if (outcome.Fault.isEmpty() && version >= 7 && contents.Type == Kind::Modes)
            outcome.Fault = ReadForced(in, contents.Modes, contents.Vibrations);
        break;
    case Kind::Field:
    case Kind::Torsion:
        outcome.Fault = ReadField(in, version, contents.Type == Kind::Torsion, contents.Field);
        break;
    }
    if (outcome.Fault.isEmpty() && in.Left() > 0)
        outcome.Fault = QStringLiteral("has %1 bytes after its end").arg(in.Left());
    if (outcome.Fault.isEmpty())
        outcome.Read = std::move(contents);
    return outcome;
}

std::optional<ResultFile::Contents> ResultFile::Read(const QByteArray& bytes) {
    return ReadChecked(bytes).Read;
}
