#include "ResultFile.h"

#include <QDataStream>
#include <QIODevice>
#include <QSysInfo>
#include <algorithm>

namespace {

constexpr char Magic[8] = {'Q', 'V', 'R', 'E', 'S', 'U', 'L', 'T'};
// Bounds that a sound file never reaches; a corrupt count must not make the reader allocate
// gigabytes before it finds out.
constexpr qint32 MaxCount = 50'000'000;

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

// Little-endian IEEE doubles; on such a machine (all the package runs on) the values' own
// bytes, written at once.
constexpr bool LittleEndianHost = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

// Raw transfers in pieces that an int counts.
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

bool ReadCount(QDataStream& in, qint32& count) {
    in >> count;
    return in.status() == QDataStream::Ok && count >= 0 && count <= MaxCount;
}

bool ReadNames(QDataStream& in, QStringList& names) {
    qint32 count = 0;
    if (!ReadCount(in, count) || count > 64)
        return false;
    for (qint32 n = 0; n < count; ++n) {
        qint32 length = 0;
        if (!ReadCount(in, length) || length > 64)
            return false;
        QByteArray bytes(length, '\0');
        if (in.readRawData(bytes.data(), length) != length)
            return false;
        names << QString::fromLatin1(bytes);
    }
    return true;
}

bool ReadValues(QDataStream& in, std::vector<double>& values, qint64 count) {
    if (count < 0 || count > 8LL * MaxCount || in.device()->bytesAvailable() < count * 8)
        return false;
    values.resize(static_cast<size_t>(count));
    if constexpr (LittleEndianHost) {
        for (size_t first = 0; first < values.size(); first += ChunkValues) {
            const int bytes =
                static_cast<int>(std::min(ChunkValues, values.size() - first) * sizeof(double));
            if (in.readRawData(reinterpret_cast<char*>(values.data() + first), bytes) != bytes)
                return false;
        }
        return true;
    }
    for (double& value : values)
        in >> value;
    return in.status() == QDataStream::Ok;
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
    out << static_cast<qint32>(Version) << static_cast<qint32>(contents.Type)
        << static_cast<qint32>(contents.Problem);
    if (contents.Type == Kind::Statics) {
        const StaticResults& r = contents.Statics;
        out << static_cast<qint32>(r.Nodes) << static_cast<qint32>(r.Elements)
            << static_cast<qint32>(r.ArcPoints);
        WriteNames(out, r.Components);
        WriteNames(out, r.ForceNames);
        out << static_cast<qint32>(r.Cases.size());
        for (const StaticResults::Case& c : r.Cases) {
            out << static_cast<qint32>(c.Number);
            WriteValues(out, c.Displacements);
            WriteValues(out, c.ArcDisplacements);
            out << static_cast<qint32>(c.Reactions.size());
            for (const StaticResults::Reaction& reaction : c.Reactions) {
                out << static_cast<qint32>(reaction.Node);
                WriteValues(out, reaction.Values);
            }
            WriteValues(out, c.Forces);
        }
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
    }
    return bytes;
}

std::optional<ResultFile::Contents> ResultFile::Read(const QByteArray& bytes) {
    QDataStream in(bytes);
    Prepare(in);
    char magic[8] = {};
    if (in.readRawData(magic, sizeof magic) != sizeof magic || !std::equal(magic, magic + 8, Magic))
        return std::nullopt;
    qint32 version = 0, type = 0, problem = 0;
    in >> version >> type >> problem;
    if (in.status() != QDataStream::Ok || version < 1 || version > Version || type < 1 || type > 3)
        return std::nullopt;
    Contents contents;
    contents.Type = static_cast<Kind>(type);
    contents.Problem = problem;
    if (contents.Type == Kind::Statics) {
        StaticResults& r = contents.Statics;
        qint32 nodes = 0, elements = 0, arcPoints = 0, cases = 0;
        if (!ReadCount(in, nodes) || !ReadCount(in, elements) ||
            (version >= 2 && !ReadCount(in, arcPoints)) || !ReadNames(in, r.Components) ||
            !ReadNames(in, r.ForceNames) || !ReadCount(in, cases))
            return std::nullopt;
        r.Nodes = nodes;
        r.Elements = elements;
        r.ArcPoints = arcPoints;
        const qint64 width = r.Components.size();
        for (qint32 n = 0; n < cases; ++n) {
            StaticResults::Case c;
            qint32 number = 0, supports = 0;
            in >> number;
            c.Number = number;
            if (!ReadValues(in, c.Displacements, nodes * width) ||
                !ReadValues(in, c.ArcDisplacements, arcPoints * width) || !ReadCount(in, supports))
                return std::nullopt;
            for (qint32 s = 0; s < supports; ++s) {
                StaticResults::Reaction reaction;
                qint32 node = 0;
                in >> node;
                reaction.Node = node;
                if (!ReadValues(in, reaction.Values, width))
                    return std::nullopt;
                c.Reactions.push_back(std::move(reaction));
            }
            if (!ReadValues(in, c.Forces, static_cast<qint64>(elements) * r.ForceNames.size()))
                return std::nullopt;
            r.Cases.push_back(std::move(c));
        }
    } else {
        Shapes& s = contents.Modes;
        qint32 nodes = 0, count = 0;
        if (!ReadCount(in, nodes))
            return std::nullopt;
        s.Nodes = nodes;
        if (version >= 3) {
            qint32 elements = 0;
            // Four bytes per element must be there before they are set aside.
            if (!ReadCount(in, elements) || in.device()->bytesAvailable() < qint64{4} * elements)
                return std::nullopt;
            s.Elements = elements;
            s.Pieces.reserve(static_cast<size_t>(elements));
            for (qint32 e = 0; e < elements; ++e) {
                qint32 pieces = 0;
                if (!ReadCount(in, pieces) || pieces < 1)
                    return std::nullopt;
                s.Pieces.push_back(pieces);
            }
        }
        if (!ReadNames(in, s.Components) || !ReadCount(in, count))
            return std::nullopt;
        const qint64 inner = s.InnerPoints() * s.Components.size();
        for (qint32 n = 0; n < count; ++n) {
            Shapes::Shape shape;
            qint32 loadCase = 0;
            in >> loadCase >> shape.Value;
            shape.Case = loadCase;
            if (!ReadValues(in, shape.Displacements,
                            static_cast<qint64>(nodes) * s.Components.size()) ||
                !ReadValues(in, shape.Inner, inner))
                return std::nullopt;
            s.List.push_back(std::move(shape));
        }
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return contents;
}
