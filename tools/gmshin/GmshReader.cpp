#include "GmshReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <unordered_map>

namespace {

struct Refusal {
    QString Text;
};

// Walks through the bytes of the file: words of ASCII text with their line numbers, and the
// raw values of binary sections with their offsets.
class Parser {
public:
    explicit Parser(const QByteArray& bytes) : data_(bytes.constData()), size_(bytes.size()) {}

    int Line() const { return line_; }
    qsizetype Left() const { return size_ - at_; }
    bool AtEnd() {
        SkipBlanks();
        return at_ >= size_;
    }
    void SetSection(const QString& name) { section_ = name; }

    [[noreturn]] void Fail(const QString& text) const {
        if (binary_)
            throw Refusal{QStringLiteral("%1, byte %2: %3").arg(section_).arg(at_).arg(text)};
        throw Refusal{QStringLiteral("line %1: %2").arg(line_).arg(text)};
    }
    [[noreturn]] void FailAt(int line, const QString& text) const {
        throw Refusal{QStringLiteral("line %1: %2").arg(line).arg(text)};
    }

    // The next word; refused at the end of the file.
    QByteArray Word(const char* what) {
        SkipBlanks();
        if (at_ >= size_)
            Fail(QStringLiteral("the file ends where %1 should follow (cut short?)")
                     .arg(QLatin1StringView(what)));
        const qsizetype from = at_;
        while (at_ < size_ && !IsBlank(data_[at_]))
            ++at_;
        return QByteArray(data_ + from, at_ - from);
    }
    // The rest of the current line, without its line end.
    QByteArray RestOfLine() {
        const qsizetype from = at_;
        while (at_ < size_ && data_[at_] != '\n')
            ++at_;
        QByteArray text(data_ + from, at_ - from);
        if (text.endsWith('\r'))
            text.chop(1);
        return text;
    }
    long long Integer(const char* what, long long low, long long high) {
        const QByteArray word = Word(what);
        long long value = 0;
        const auto [end, error] =
            std::from_chars(word.constData(), word.constData() + word.size(), value);
        if (error != std::errc() || end != word.constData() + word.size())
            Fail(QStringLiteral("%1 expected, found \"%2\"")
                     .arg(QLatin1StringView(what), QString::fromLatin1(word.left(40))));
        if (value < low || value > high)
            Fail(QStringLiteral("%1 %2 lies outside %3 to %4")
                     .arg(QLatin1StringView(what))
                     .arg(value)
                     .arg(low)
                     .arg(high));
        return value;
    }
    double Real(const char* what) {
        const QByteArray word = Word(what);
        double value = 0;
        const auto [end, error] =
            std::from_chars(word.constData(), word.constData() + word.size(), value);
        if (error != std::errc() || end != word.constData() + word.size() || !std::isfinite(value))
            Fail(QStringLiteral("%1 expected, found \"%2\"")
                     .arg(QLatin1StringView(what), QString::fromLatin1(word.left(40))));
        return value;
    }

    // Binary values in the byte order of this machine, which the file's marker confirmed.
    void SetBinary(bool binary) { binary_ = binary; }
    bool Binary() const { return binary_; }
    template <typename T>
    T Raw(const char* what) {
        if (Left() < qsizetype(sizeof(T)))
            Fail(QStringLiteral("the file ends where %1 should follow (cut short?)")
                     .arg(QLatin1StringView(what)));
        T value;
        std::memcpy(&value, data_ + at_, sizeof(T));
        at_ += qsizetype(sizeof(T));
        return value;
    }
    long long BinaryInteger(const char* what, long long low, long long high, bool wide) {
        const long long value =
            wide ? static_cast<long long>(Raw<quint64>(what)) : Raw<qint32>(what);
        if (value < low || value > high) {
            at_ -= wide ? 8 : 4;
            Fail(QStringLiteral("%1 %2 lies outside %3 to %4 (a wrong size marker?)")
                     .arg(QLatin1StringView(what))
                     .arg(value)
                     .arg(low)
                     .arg(high));
        }
        return value;
    }
    double BinaryReal(const char* what) {
        const double value = Raw<double>(what);
        if (!std::isfinite(value)) {
            at_ -= 8;
            Fail(QStringLiteral("%1 is not a finite number").arg(QLatin1StringView(what)));
        }
        return value;
    }
    void SkipBytes(qsizetype count, const char* what) {
        if (count < 0 || Left() < count)
            Fail(QStringLiteral("the file ends within %1 (cut short?)")
                     .arg(QLatin1StringView(what)));
        at_ += count;
    }
    // Refuses a count of items that each take at least `bytesEach` bytes and cannot all fit in
    // what is left of the file.
    void CheckCount(long long count, qsizetype bytesEach, const char* what) const {
        if (count < 0 || count > Left() / std::max<qsizetype>(bytesEach, 1))
            Fail(QStringLiteral("%1 %2 cannot fit in the %3 bytes left of the file")
                     .arg(QLatin1StringView(what))
                     .arg(count)
                     .arg(Left()));
    }
    // Skips to the line after the next "$EndNAME", counting lines also across binary data.
    void SkipSection(const QByteArray& name) {
        const QByteArray end = "$End" + name;
        while (at_ < size_) {
            const QByteArray word = Word("the end of the section");
            if (word == end)
                return;
        }
        Fail(QStringLiteral("the section $%1 has no $End%1 (cut short?)")
                 .arg(QString::fromLatin1(name)));
    }
    void Expect(const QByteArray& word) {
        const bool wasBinary = binary_;
        binary_ = false;
        const QByteArray found = Word(word.constData());
        if (found != word)
            Fail(QStringLiteral("%1 expected, found \"%2\"")
                     .arg(QString::fromLatin1(word), QString::fromLatin1(found.left(40))));
        binary_ = wasBinary;
    }
    // Binary data ends with a line end before its "$End" line.
    void EndOfBinary() {
        if (at_ < size_ && data_[at_] == '\n') {
            ++at_;
            ++line_;
        }
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    void SkipBlanks() {
        while (at_ < size_ && IsBlank(data_[at_])) {
            if (data_[at_] == '\n')
                ++line_;
            ++at_;
        }
    }

    const char* data_;
    qsizetype size_;
    qsizetype at_ = 0;
    int line_ = 1;
    bool binary_ = false;
    QString section_;
};

constexpr long long MaxTag = std::numeric_limits<int>::max();

class MeshReading {
public:
    explicit MeshReading(const QByteArray& bytes) : in_(bytes) {}

    GmshMesh Read() {
        bool format = false, nodes = false, elements = false;
        while (!in_.AtEnd()) {
            const int line = in_.Line();
            const QByteArray word = in_.Word("a section");
            if (!word.startsWith('$') || word.startsWith("$End"))
                in_.FailAt(line, QStringLiteral("a section such as $Nodes expected, found \"%1\"")
                                     .arg(QString::fromLatin1(word.left(40))));
            const QByteArray name = word.mid(1);
            in_.SetSection(QString::fromLatin1(word));
            if (!format && name != "MeshFormat")
                in_.FailAt(line, QStringLiteral("the file does not start with $MeshFormat: "
                                                "not a Gmsh mesh file"));
            if (name == "MeshFormat") {
                ReadFormat();
                format = true;
            } else if (name == "PhysicalNames") {
                ReadNames();
            } else if (name == "Entities") {
                ReadEntities();
            } else if (name == "Nodes") {
                if (nodes)
                    in_.FailAt(line, QStringLiteral("a second $Nodes section"));
                mesh_.Version == 4 ? ReadNodes4() : ReadNodes2();
                nodes = true;
            } else if (name == "Elements") {
                if (!nodes || elements)
                    in_.FailAt(line, QStringLiteral("$Elements must follow one $Nodes section"));
                mesh_.Version == 4 ? ReadElements4() : ReadElements2();
                elements = true;
            } else {
                in_.SetBinary(false);
                in_.SkipSection(name);
                continue;
            }
        }
        if (!format)
            in_.Fail(QStringLiteral("the file is empty: not a Gmsh mesh file"));
        if (!elements)
            in_.Fail(QStringLiteral("the file has no $Elements section (cut short?)"));
        CheckGroups();
        return std::move(mesh_);
    }

private:
    void ReadFormat() {
        const QByteArray version = in_.Word("the format version");
        if (version == "4.1")
            mesh_.Version = 4;
        else if (version == "2.2")
            mesh_.Version = 2;
        else
            in_.Fail(QStringLiteral("format %1 is not read; save the mesh from Gmsh in format "
                                    "4.1 or 2.2")
                         .arg(QString::fromLatin1(version.left(20))));
        mesh_.Binary = in_.Integer("the file type", 0, 1) == 1;
        const long long size = in_.Integer("the data size", 1, 64);
        if (mesh_.Binary) {
            if (size != 8)
                in_.Fail(
                    QStringLiteral("binary data of size %1 is not read; Gmsh writes 8").arg(size));
            in_.RestOfLine();
            in_.SkipBytes(1, "the line end");
            in_.SetBinary(true);
            if (in_.Raw<qint32>("the byte order mark") != 1)
                in_.Fail(QStringLiteral("the binary data is of another byte order than this "
                                        "computer's; save the mesh in ASCII"));
            in_.SetBinary(false);
        }
        in_.Expect("$EndMeshFormat");
    }

    void ReadNames() {
        in_.SetBinary(false);
        const long long count = in_.Integer("the number of physical names", 0, MaxTag);
        in_.CheckCount(count, 8, "the number of physical names");
        for (long long i = 0; i < count; ++i) {
            GmshMesh::Group group;
            group.Dimension = int(in_.Integer("the dimension of a physical name", 0, 3));
            group.Tag = int(in_.Integer("the tag of a physical name", 1, MaxTag));
            const int line = in_.Line();
            const QByteArray rest = in_.RestOfLine().trimmed();
            if (rest.size() < 2 || !rest.startsWith('"') || !rest.endsWith('"'))
                in_.FailAt(line, QStringLiteral("a physical name in quotes expected"));
            group.Name = QString::fromUtf8(rest.mid(1, rest.size() - 2));
            for (const GmshMesh::Group& other : mesh_.Groups)
                if (other.Dimension == group.Dimension && other.Tag == group.Tag)
                    in_.FailAt(line, QStringLiteral("physical group %1 of dimension %2 is named "
                                                    "twice")
                                         .arg(group.Tag)
                                         .arg(group.Dimension));
            mesh_.Groups.push_back(group);
            nameLines_.push_back(line);
        }
        in_.Expect("$EndPhysicalNames");
    }

    long long Count(const char* what, long long high = MaxTag) {
        return in_.Binary() ? in_.BinaryInteger(what, 0, high, true) : in_.Integer(what, 0, high);
    }
    long long Int(const char* what, long long low, long long high) {
        return in_.Binary() ? in_.BinaryInteger(what, low, high, false)
                            : in_.Integer(what, low, high);
    }
    double Real(const char* what) { return in_.Binary() ? in_.BinaryReal(what) : in_.Real(what); }

    void ReadEntities() {
        if (mesh_.Version != 4)
            in_.Fail(QStringLiteral("$Entities belongs to format 4"));
        in_.SetBinary(mesh_.Binary);
        if (mesh_.Binary)
            in_.SkipBytes(1, "the line end");
        long long counts[4];
        for (long long& count : counts)
            count = Count("the number of entities");
        for (int dimension = 0; dimension < 4; ++dimension) {
            in_.CheckCount(counts[dimension], in_.Binary() ? 36 : 10, "the number of entities");
            for (long long i = 0; i < counts[dimension]; ++i)
                ReadEntity(dimension);
        }
        in_.EndOfBinary();
        in_.SetBinary(false);
        in_.Expect("$EndEntities");
    }
    void ReadEntity(int dimension) {
        const int tag = int(Int("an entity tag", -MaxTag, MaxTag));
        for (int c = 0; c < (dimension == 0 ? 3 : 6); ++c)
            Real("a coordinate of an entity's box");
        const long long groups = Count("the number of physical tags");
        in_.CheckCount(groups, 2, "the number of physical tags");
        std::vector<int>& tags = mesh_.EntityGroups[{dimension, tag}];
        for (long long g = 0; g < groups; ++g)
            tags.push_back(int(Int("a physical tag", -MaxTag, MaxTag)));
        for (int& group : tags)
            group = std::abs(group);
        if (dimension == 0)
            return;
        const long long bounds = Count("the number of bounding entities");
        in_.CheckCount(bounds, 2, "the number of bounding entities");
        for (long long b = 0; b < bounds; ++b)
            Int("a bounding entity", -MaxTag, MaxTag);
    }

    void AddNode(long long tag, const std::array<double, 3>& at, int line) {
        const int index = int(mesh_.Nodes.size());
        if (!nodeIndex_.emplace(tag, index).second) {
            if (line)
                in_.FailAt(line, QStringLiteral("node %1 is given twice").arg(tag));
            in_.Fail(QStringLiteral("node %1 is given twice").arg(tag));
        }
        mesh_.Nodes.push_back({tag, at});
    }

    // The head of a format-4 $Nodes or $Elements section: its blocks and items, each count
    // checked against the bytes left (`least` per item) before anything is set aside.
    // The head of a format-4 $Nodes or $Elements section: its blocks and items, each count
    // checked against the bytes left (`least` per item) before anything is set aside.
    std::pair<long long, long long> SectionHeader4(const char* item, int least) {
        in_.SetBinary(mesh_.Binary);
        if (mesh_.Binary)
            in_.SkipBytes(1, "the line end");
        const auto name = [item](const char* pattern) {
            return QByteArray(pattern).replace("ITEM", item);
        };
        const QByteArray blocksName = name("the number of ITEM blocks");
        const QByteArray totalName = name("the number of ITEMs");
        const long long blocks = Count(blocksName.constData());
        const long long total = Count(totalName.constData());
        Count(name("the smallest ITEM tag").constData(), std::numeric_limits<long long>::max());
        Count(name("the largest ITEM tag").constData(), std::numeric_limits<long long>::max());
        in_.CheckCount(total, least, totalName.constData());
        in_.CheckCount(blocks, in_.Binary() ? 20 : 8, blocksName.constData());
        return {blocks, total};
    }

    void ReadNodes4() {
        const auto [blocks, total] = SectionHeader4("node", in_.Binary() ? 32 : 8);
        mesh_.Nodes.reserve(size_t(total));
        nodeIndex_.reserve(size_t(total));
        for (long long b = 0; b < blocks; ++b) {
            const int dimension = int(Int("an entity dimension", 0, 3));
            Int("an entity tag", -MaxTag, MaxTag);
            const bool parametric = Int("the parametric flag", 0, 1) == 1;
            const long long count = Count("the number of nodes in a block");
            const int values = 3 + (parametric ? dimension : 0);
            in_.CheckCount(count, in_.Binary() ? 8 * (1 + values) : 2 * (1 + values),
                           "the number of nodes in a block");
            if (qsizetype(mesh_.Nodes.size()) + count > total)
                in_.Fail(QStringLiteral("the blocks hold more nodes than the %1 the section "
                                        "counts")
                             .arg(total));
            std::vector<long long> tags(static_cast<size_t>(count));
            for (long long& tag : tags)
                tag = Count("a node tag", std::numeric_limits<long long>::max());
            for (long long n = 0; n < count; ++n) {
                std::array<double, 3> at{};
                for (double& value : at)
                    value = Real("a coordinate");
                for (int extra = 3; extra < values; ++extra)
                    Real("a parametric coordinate");
                AddNode(tags[size_t(n)], at, in_.Binary() ? 0 : in_.Line());
            }
        }
        if (qsizetype(mesh_.Nodes.size()) != total)
            in_.Fail(QStringLiteral("the blocks hold %1 nodes, the section counts %2")
                         .arg(mesh_.Nodes.size())
                         .arg(total));
        in_.EndOfBinary();
        in_.SetBinary(false);
        in_.Expect("$EndNodes");
    }

    void ReadNodes2() {
        const long long total = in_.Integer("the number of nodes", 0, MaxTag);
        in_.SetBinary(mesh_.Binary);
        if (mesh_.Binary)
            in_.SkipBytes(1, "the line end");
        in_.CheckCount(total, in_.Binary() ? 28 : 8, "the number of nodes");
        mesh_.Nodes.reserve(size_t(total));
        nodeIndex_.reserve(size_t(total));
        for (long long n = 0; n < total; ++n) {
            const long long tag = Int("a node tag", 1, MaxTag);
            const int line = in_.Binary() ? 0 : in_.Line();
            std::array<double, 3> at{};
            for (double& value : at)
                value = Real("a coordinate");
            AddNode(tag, at, line);
        }
        in_.EndOfBinary();
        in_.SetBinary(false);
        in_.Expect("$EndNodes");
    }

    // The type of an element: refused unless it is one of ours.
    int Type(long long type, int line) {
        if (GmshMesh::NodeCount(int(type)) == 0) {
            const QString text =
                QStringLiteral("%1 is not read: the package has points, 2-node lines, 3-node "
                               "triangles, 4-node quadrangles, tetrahedra, hexahedra and prisms of "
                               "the first order; mesh with \"Mesh.ElementOrder = 1\"")
                    .arg(GmshReader::TypeName(int(type)));
            if (line)
                in_.FailAt(line, text);
            in_.Fail(text);
        }
        return int(type);
    }
    int NodeOf(long long tag, int line) {
        const auto found = nodeIndex_.find(tag);
        if (found == nodeIndex_.end()) {
            const QString text = QStringLiteral("an element names node %1, which $Nodes does "
                                                "not give")
                                     .arg(tag);
            if (line)
                in_.FailAt(line, text);
            in_.Fail(text);
        }
        return found->second;
    }

    void ReadElements4() {
        const auto [blocks, total] = SectionHeader4("element", in_.Binary() ? 16 : 4);
        mesh_.Elements.reserve(size_t(total));
        for (long long b = 0; b < blocks; ++b) {
            const int blockLine = in_.Line();
            const int dimension = int(Int("an entity dimension", 0, 3));
            const int entity = int(Int("an entity tag", -MaxTag, MaxTag));
            const int type = Type(Int("an element type", 0, MaxTag), in_.Binary() ? 0 : blockLine);
            const long long count = Count("the number of elements in a block");
            const int nodes = GmshMesh::NodeCount(type);
            in_.CheckCount(count, in_.Binary() ? 8 * (1 + nodes) : 2 * (1 + nodes),
                           "the number of elements in a block");
            if (qsizetype(mesh_.Elements.size()) + count > total)
                in_.Fail(QStringLiteral("the blocks hold more elements than the %1 the section "
                                        "counts")
                             .arg(total));
            if (GmshMesh::DimensionOf(type) != dimension)
                in_.FailAt(blockLine, QStringLiteral("%1 in an entity of dimension %2")
                                          .arg(GmshReader::TypeName(type))
                                          .arg(dimension));
            if (!mesh_.EntityGroups.empty() && !mesh_.EntityGroups.count({dimension, entity}))
                in_.FailAt(blockLine, QStringLiteral("the elements belong to entity %1 of "
                                                     "dimension %2, which $Entities does not "
                                                     "give")
                                          .arg(entity)
                                          .arg(dimension));
            for (long long e = 0; e < count; ++e) {
                GmshMesh::Element element;
                element.Type = type;
                element.Count = nodes;
                element.Dimension = dimension;
                element.Entity = entity;
                Count("an element tag", std::numeric_limits<long long>::max());
                element.Line = in_.Binary() ? 0 : in_.Line();
                for (int n = 0; n < nodes; ++n)
                    element.Nodes[size_t(n)] =
                        NodeOf(Count("a node of an element", std::numeric_limits<long long>::max()),
                               element.Line);
                mesh_.Elements.push_back(element);
            }
        }
        if (qsizetype(mesh_.Elements.size()) != total)
            in_.Fail(QStringLiteral("the blocks hold %1 elements, the section counts %2")
                         .arg(mesh_.Elements.size())
                         .arg(total));
        in_.EndOfBinary();
        in_.SetBinary(false);
        in_.Expect("$EndElements");
    }

    void ReadElement2(GmshMesh::Element& element, int tags) {
        for (int t = 0; t < tags; ++t) {
            const int value = int(Int("an element tag", -MaxTag, MaxTag));
            if (t == 0)
                element.Physical = value;
            else if (t == 1)
                element.Entity = value;
        }
        for (int n = 0; n < element.Count; ++n)
            element.Nodes[size_t(n)] = NodeOf(Int("a node of an element", 1, MaxTag), element.Line);
        mesh_.Elements.push_back(element);
    }

    void ReadElements2() {
        const long long total = in_.Integer("the number of elements", 0, MaxTag);
        in_.SetBinary(mesh_.Binary);
        if (mesh_.Binary)
            in_.SkipBytes(1, "the line end");
        in_.CheckCount(total, 8, "the number of elements");
        mesh_.Elements.reserve(size_t(total));
        while (qsizetype(mesh_.Elements.size()) < total) {
            if (mesh_.Binary) {
                const int type = Type(Int("an element type", 0, MaxTag), 0);
                const long long count = Int("the number of elements that follow", 1, MaxTag);
                const int tags = int(Int("the number of element tags", 0, 100));
                in_.CheckCount(count, 4 * (1 + tags + GmshMesh::NodeCount(type)),
                               "the number of elements that follow");
                if (qsizetype(mesh_.Elements.size()) + count > total)
                    in_.Fail(QStringLiteral("more elements follow than the %1 the section counts")
                                 .arg(total));
                for (long long e = 0; e < count; ++e) {
                    GmshMesh::Element element = NewElement(type);
                    Int("an element number", 1, MaxTag);
                    ReadElement2(element, tags);
                }
            } else {
                Int("an element number", 1, MaxTag);
                const int line = in_.Line();
                GmshMesh::Element element =
                    NewElement(Type(Int("an element type", 0, MaxTag), line));
                element.Line = line;
                ReadElement2(element, int(Int("the number of element tags", 0, 100)));
            }
        }
        in_.EndOfBinary();
        in_.SetBinary(false);
        in_.Expect("$EndElements");
    }
    static GmshMesh::Element NewElement(int type) {
        GmshMesh::Element element;
        element.Type = type;
        element.Count = GmshMesh::NodeCount(type);
        element.Dimension = GmshMesh::DimensionOf(type);
        return element;
    }

    // Every named group must hold something, and every group used gets a place in the list.
    void CheckGroups() {
        std::map<std::pair<int, int>, bool> used;
        if (mesh_.Version == 2) {
            for (const GmshMesh::Element& element : mesh_.Elements)
                if (element.Physical > 0)
                    used[{element.Dimension, element.Physical}] = true;
        } else {
            for (const GmshMesh::Element& element : mesh_.Elements) {
                const auto found = mesh_.EntityGroups.find({element.Dimension, element.Entity});
                if (found != mesh_.EntityGroups.end())
                    for (int tag : found->second)
                        used[{element.Dimension, tag}] = true;
            }
        }
        for (size_t g = 0; g < mesh_.Groups.size(); ++g) {
            const GmshMesh::Group& group = mesh_.Groups[g];
            if (!used.count({group.Dimension, group.Tag}))
                in_.FailAt(nameLines_[g], QStringLiteral("the physical group \"%1\" (dimension "
                                                         "%2, tag %3) names no element of the "
                                                         "mesh")
                                              .arg(group.Name)
                                              .arg(group.Dimension)
                                              .arg(group.Tag));
        }
        for (const auto& [key, yes] : used) {
            bool named = false;
            for (const GmshMesh::Group& group : mesh_.Groups)
                named = named || (group.Dimension == key.first && group.Tag == key.second);
            if (!named)
                mesh_.Groups.push_back({key.first, key.second, {}});
        }
        std::sort(mesh_.Groups.begin(), mesh_.Groups.end(), [](const auto& a, const auto& b) {
            return std::pair(a.Dimension, a.Tag) < std::pair(b.Dimension, b.Tag);
        });
    }

    Parser in_;
    GmshMesh mesh_;
    std::vector<int> nameLines_;
    std::unordered_map<long long, int> nodeIndex_;
};

} // namespace

GmshReader::Result GmshReader::Read(const QByteArray& bytes) {
    Result result;
    if (bytes.size() > MaxBytes) {
        result.Error = QStringLiteral("the file is larger than 2 GB");
        return result;
    }
    try {
        result.Mesh = MeshReading(bytes).Read();
        result.Ok = true;
    } catch (const Refusal& refusal) {
        result.Error = refusal.Text;
    } catch (const std::bad_alloc&) {
        result.Error = QStringLiteral("not enough memory to read the mesh");
    }
    return result;
}

QString GmshReader::TypeName(int type) {
    static const std::map<int, const char*> names = {{1, "a 2-node line"},
                                                     {2, "a 3-node triangle"},
                                                     {3, "a 4-node quadrangle"},
                                                     {4, "a 4-node tetrahedron"},
                                                     {5, "an 8-node hexahedron"},
                                                     {6, "a 6-node prism"},
                                                     {7, "a 5-node pyramid"},
                                                     {8, "a 3-node second-order line"},
                                                     {9, "a 6-node second-order triangle"},
                                                     {10, "a 9-node second-order quadrangle"},
                                                     {11, "a 10-node second-order tetrahedron"},
                                                     {12, "a 27-node second-order hexahedron"},
                                                     {13, "an 18-node second-order prism"},
                                                     {14, "a 14-node second-order pyramid"},
                                                     {15, "a point"},
                                                     {16, "an 8-node second-order quadrangle"},
                                                     {17, "a 20-node second-order hexahedron"},
                                                     {18, "a 15-node second-order prism"},
                                                     {19, "a 13-node second-order pyramid"}};
    const auto found = names.find(type);
    return QStringLiteral("%1 (element type %2)")
        .arg(found != names.end() ? QLatin1StringView(found->second)
                                  : QLatin1StringView("an element of unknown kind"))
        .arg(type);
}
