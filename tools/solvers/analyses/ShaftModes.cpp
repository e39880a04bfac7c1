#include "ShaftModes.h"

#include "ModalAnalysis.h"
#include "PencilModes.h"
#include "ShaftElement.h"
#include "SparseAssembly.h"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The stiffness of a long beam mesh spans the elements' number^4 from its lowest mode to its
// highest, so its assembly and products are carried in extended precision: in double a
// shaft of 10,000 elements lost the first digit of its lowest frequency.
using Real = PencilModes::Extended::Real;
using Sparse = PencilModes::Extended::Sparse;
using VectorL = PencilModes::Extended::Vector;
using MatrixL = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
using Kind = ShaftModes::Kind;

// The shaft line as the assembly knows it: its elements, the components its rigid bearings
// hold, its elastic bearings' springs and its discs' masses, at the components of space of
// their nodes (uy, rx and rz).
struct Line {
    size_t Nodes = 0;
    std::vector<ShaftElement> Elements;
    std::vector<std::pair<int, int>> Held; // node, component
    std::vector<ModalAnalysis::Point> Springs, Masses;

    explicit Line(const ShaftModel& model) : Nodes(model.X.size()) {
        Elements.reserve(model.Elements.size());
        for (const ShaftModel::Element& element : model.Elements)
            Elements.emplace_back(model, element);
        for (const ShaftModel::Bearing& bearing : model.Bearings) {
            if (bearing.Rigid())
                Held.emplace_back(bearing.Node, 1);
            else
                Springs.push_back({bearing.Node, 1, bearing.K});
        }
        for (const ShaftModel::Disc& disc : model.Discs)
            for (const ModalAnalysis::Point& mass : {ModalAnalysis::Point{disc.Node, 1, disc.M},
                                                     ModalAnalysis::Point{disc.Node, 3, disc.Jp},
                                                     ModalAnalysis::Point{disc.Node, 5, disc.Jd}})
                if (mass.Value > 0)
                    Masses.push_back(mass);
    }
};

// One family of motions, bending or torsion: the components of space it works in at every
// node (uy and rz; rx), the elements, the bearings' springs and holds, the discs' masses, and
// the motions that tell its rigid motions and the scale of its values. Its unknowns are
// numbered node by node: width * node + k for its k-th component.
struct Family {
    Kind Type = Kind::Bending;
    std::vector<int> Components;
    const std::vector<ShaftElement>* Elements = nullptr;
    std::vector<std::pair<int, double>> Springs; // unknown, stiffness
    std::vector<std::pair<int, double>> Points;  // unknown, mass or inertia
    std::vector<bool> Fixed;                     // per unknown
    Eigen::MatrixXd Rigid; // columns: the motions without strain the bearings allow
    Eigen::VectorXd Trial; // a smooth motion with strain, positive everywhere
    // A smooth motion that the bearings let pass without a kink, for the scale of the
    // frequencies: a kink at a held node would put the fineness of the mesh into it.
    Eigen::VectorXd Estimate;

    Family(Kind type, const Line& line)
        : Type(type),
          Components(type == Kind::Bending ? std::vector<int>{1, 5} : std::vector<int>{3}),
          Elements(&line.Elements), Fixed(line.Nodes * Components.size(), false) {
        for (const auto& [node, component] : line.Held)
            if (const int k = Index(component); k >= 0)
                Fixed[static_cast<size_t>(Unknown(node, k))] = true;
        for (const ModalAnalysis::Point& spring : line.Springs)
            if (const int k = Index(spring.Component); k >= 0)
                Springs.emplace_back(Unknown(spring.Node, k), spring.Value);
        for (const ModalAnalysis::Point& mass : line.Masses)
            if (const int k = Index(mass.Component); k >= 0)
                Points.emplace_back(Unknown(mass.Node, k), mass.Value);
    }
    // Where a component of space is among the family's, or -1.
    int Index(int component) const {
        const auto found = std::find(Components.begin(), Components.end(), component);
        return found == Components.end() ? -1 : static_cast<int>(found - Components.begin());
    }
    int Width() const { return static_cast<int>(Components.size()); }
    int Dofs() const { return static_cast<int>(Fixed.size()); }
    int Unknown(int node, int k) const { return Width() * node + k; }

    ShaftElement::Bending Stiffness(const ShaftElement& element) const {
        if (Type == Kind::Bending)
            return element.BendingStiffness();
        ShaftElement::Bending k = ShaftElement::Bending::Zero();
        k.topLeftCorner<2, 2>() = element.TorsionStiffness().cast<Real>();
        return k;
    }
    Eigen::Matrix4d Mass(const ShaftElement& element) const {
        if (Type == Kind::Bending)
            return element.BendingMass();
        Eigen::Matrix4d m = Eigen::Matrix4d::Zero();
        m.topLeftCorner<2, 2>() = element.TorsionMass();
        return m;
    }
    // Adds M u of the elements and then of the points to `out`, over all unknowns.
    void AddMassProduct(const VectorL& u, VectorL& out) const {
        const auto size = static_cast<Eigen::Index>(2 * Width());
        Eigen::Matrix<Real, Eigen::Dynamic, 1, 0, 4, 1> local(size);
        for (const ShaftElement& element : *Elements) {
            const Eigen::Matrix4d m = Mass(element);
            if (!(m(0, 0) > 0))
                continue;
            const std::span<const int> nodes = element.Nodes();
            for (Eigen::Index i = 0; i < size; ++i)
                local[i] = u[Unknown(nodes[static_cast<size_t>(i / Width())],
                                     static_cast<int>(i % Width()))];
            const auto product = (m.topLeftCorner(size, size).cast<Real>() * local).eval();
            for (Eigen::Index i = 0; i < size; ++i)
                out[Unknown(nodes[static_cast<size_t>(i / Width())],
                            static_cast<int>(i % Width()))] += product[i];
        }
        for (const auto& [unknown, value] : Points)
            out[unknown] += Real(value) * u[unknown];
    }
    // Adds K u of the elements and then of the springs to `out`, over all unknowns.
    void AddProduct(const VectorL& u, VectorL& out) const {
        for (const ShaftElement& element : *Elements) {
            const int a = element.Nodes()[0], b = element.Nodes()[1];
            if (Type == Kind::Bending)
                element.AddBendingProduct(u, Unknown(a, 0), Unknown(b, 0), out);
            else
                element.AddTorsionProduct(u, Unknown(a, 0), Unknown(b, 0), out);
        }
        for (const auto& [unknown, k] : Springs)
            out[unknown] += Real(k) * u[unknown];
    }
};

// The equations of a family's unknowns as the one numbering gives them: node by node, the
// held ones left out.
struct Numbering {
    DofNumbering Equations;
    std::vector<int> Equation; // by unknown; -1 when held
    int Count = 0;

    explicit Numbering(const Family& family) : Equation(family.Fixed.size(), -1) {
        const size_t nodes = family.Fixed.size() / static_cast<size_t>(family.Width());
        std::vector<bool> fixed(6 * nodes, false);
        for (size_t node = 0; node < nodes; ++node)
            for (int k = 0; k < family.Width(); ++k)
                fixed[6 * node + static_cast<size_t>(family.Components[static_cast<size_t>(k)])] =
                    family.Fixed[static_cast<size_t>(family.Unknown(static_cast<int>(node), k))];
        // Every unknown not held is kept: the elements stiffen each.
        Equations.Number(family.Components, std::vector<double>(6 * nodes, 1.0), fixed,
                         std::vector<bool>(6 * nodes, false), {});
        for (size_t node = 0; node < nodes; ++node)
            for (int k = 0; k < family.Width(); ++k)
                Equation[static_cast<size_t>(family.Unknown(static_cast<int>(node), k))] =
                    Equations.Equation(static_cast<int>(node),
                                       family.Components[static_cast<size_t>(k)]);
        Count = Equations.Equations();
    }
    template <typename Vector>
    Vector Restrict(const Vector& all) const {
        Vector free(Count);
        for (size_t d = 0; d < Equation.size(); ++d)
            if (Equation[d] >= 0)
                free[Equation[d]] = all[static_cast<Eigen::Index>(d)];
        return free;
    }
    template <typename Vector>
    Vector Expand(const Vector& free) const {
        Vector all = Vector::Zero(static_cast<Eigen::Index>(Equation.size()));
        for (size_t d = 0; d < Equation.size(); ++d)
            if (Equation[d] >= 0)
                all[static_cast<Eigen::Index>(d)] = free[Equation[d]];
        return all;
    }
};

// The family's stiffness (the springs, then the elements) and mass (the elements, then the
// points) over the equations of `numbering`, both triangles, by the one assembly.
struct Matrices {
    Sparse K, M;
};
Matrices Assemble(const Family& family, const Numbering& numbering) {
    const SparseAssembly pattern(numbering.Equations, *family.Elements,
                                 [](const ShaftElement& element) { return element.Nodes(); });
    const Sparse empty = pattern.Empty().cast<Real>();
    Sparse k = empty, m = empty;
    const auto addPoints = [&](Sparse& matrix, const std::vector<std::pair<int, double>>& points) {
        for (const auto& [unknown, value] : points)
            if (const int e = numbering.Equation[static_cast<size_t>(unknown)]; e >= 0)
                matrix.coeffRef(e, e) += value;
    };
    const auto width = static_cast<Eigen::Index>(2 * family.Width());
    addPoints(k, family.Springs);
    for (const ShaftElement& element : *family.Elements) {
        pattern.Add(k, element.Nodes(), family.Components,
                    family.Stiffness(element).topLeftCorner(width, width));
        if (const Eigen::Matrix4d mass = family.Mass(element); mass(0, 0) > 0)
            pattern.Add(m, element.Nodes(), family.Components, mass.topLeftCorner(width, width));
    }
    addPoints(m, family.Points);
    Matrices both;
    both.K = k.selfadjointView<Eigen::Upper>();
    both.M = m.selfadjointView<Eigen::Upper>();
    return both;
}

// K x over the free unknowns, element by element.
class Stiffness {
public:
    Stiffness(const Family& family, const Numbering& numbering)
        : family_(family), numbering_(numbering) {}

    VectorL operator*(const VectorL& free) const {
        const VectorL all = numbering_.Expand(free);
        VectorL out = VectorL::Zero(all.size());
        family_.AddProduct(all, out);
        return numbering_.Restrict(out);
    }

private:
    const Family& family_;
    const Numbering& numbering_;
};

// The mass blocks of the free equations: the elements', then the points'.
std::vector<PencilModes::Extended::Block> MassBlocks(const Family& family,
                                                     const Numbering& numbering) {
    std::vector<PencilModes::Extended::Block> blocks;
    const auto equation = [&](int unknown) {
        return numbering.Equation[static_cast<size_t>(unknown)];
    };
    const int width = family.Width();
    for (const ShaftElement& element : *family.Elements) {
        const Eigen::Matrix4d m = family.Mass(element);
        if (!(m(0, 0) > 0))
            continue;
        PencilModes::Extended::Block& block = blocks.emplace_back();
        block.Values = m.topLeftCorner(2 * width, 2 * width);
        for (int node : element.Nodes())
            for (int k = 0; k < width; ++k)
                block.Equations.push_back(equation(family.Unknown(node, k)));
    }
    for (const auto& [unknown, value] : family.Points)
        blocks.push_back({{equation(unknown)}, Eigen::MatrixXd::Constant(1, 1, value)});
    return blocks;
}

// Why an eigen-solver that met values beyond its reach gave nothing.
QString OutOfProportion() {
    return QStringLiteral("the natural modes cannot be calculated: the stiffnesses and masses "
                          "are too far out of proportion to compute with (a bearing far softer "
                          "or an element far stiffer than the rest, or values near the largest "
                          "number)");
}

// The modes of one family: the rigid motions without mass are held at one unknown each (the
// pencil has the same values on any complement of them); those with mass are found, at
// lambda = 0, and skipped.
struct FamilyModes {
    std::vector<std::pair<double, Eigen::VectorXd>> Modes; // lambda, all unknowns
    // Per mode: how far its lambda moves, relative, when its shape is rounded to double. The
    // shapes come through the eigen-solver in double, with up to a hundred times that
    // rounding; where the stiffnesses are too far apart (a bearing spring beside elements
    // 1e30 times stiffer) lambda is then rounding itself, and only this tells.
    std::vector<double> Noise;
    int Rigid = 0;
    bool Massless = false;
    QString Error;
};

// Holds each rigid motion of the family that carries no mass at one unknown (the pencil has
// the same values on any complement of them); returns the count of those with mass.
int HoldMassless(Family& family) {
    if (family.Rigid.cols() == 0)
        return 0;
    Eigen::MatrixXd rigid = family.Rigid;
    for (Eigen::Index c = 0; c < rigid.cols(); ++c) {
        for (Eigen::Index d = 0; d < rigid.rows(); ++d)
            if (family.Fixed[static_cast<size_t>(d)])
                rigid(d, c) = 0;
        if (const double top = rigid.col(c).cwiseAbs().maxCoeff(); top > 0)
            rigid.col(c) /= top;
    }
    const MatrixL motions = rigid.cast<Real>();
    MatrixL inertia = MatrixL::Zero(motions.rows(), motions.cols());
    for (Eigen::Index c = 0; c < motions.cols(); ++c) {
        VectorL column = VectorL::Zero(motions.rows());
        family.AddMassProduct(motions.col(c), column);
        inertia.col(c) = column;
    }
    const Eigen::MatrixXd onRigid = (motions.transpose() * inertia).cast<double>();
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> split(onRigid);
    const double top = split.eigenvalues().cwiseAbs().maxCoeff();
    std::vector<Eigen::VectorXd> massless;
    int withMass = 0;
    for (Eigen::Index i = 0; i < split.eigenvalues().size(); ++i) {
        if (split.eigenvalues()[i] <= 1e-12 * top)
            massless.push_back(rigid * split.eigenvectors().col(i));
        else
            ++withMass;
    }
    for (size_t i = 0; i < massless.size(); ++i) {
        Eigen::Index held = 0;
        massless[i].cwiseAbs().maxCoeff(&held);
        family.Fixed[static_cast<size_t>(held)] = true;
        for (size_t j = i + 1; j < massless.size(); ++j)
            massless[j] -= massless[j][held] / massless[i][held] * massless[i];
    }
    return withMass;
}

FamilyModes Lowest(Family family, int count) {
    FamilyModes result;
    result.Rigid = HoldMassless(family);
    const Numbering numbering(family);
    const Stiffness exact(family, numbering);
    PencilModes::Extended pencil;
    Matrices matrices = Assemble(family, numbering);
    pencil.K = std::move(matrices.K);
    pencil.M = std::move(matrices.M);
    const VectorL trial = numbering.Restrict(family.Trial).cast<Real>();
    const auto inertia = static_cast<double>(trial.dot(pencil.M * trial));
    if (numbering.Count == 0 || !(inertia > 0)) {
        result.Massless = true;
        result.Rigid = 0;
        return result;
    }
    pencil.Masses = MassBlocks(family, numbering);
    pencil.Product = [&exact](const VectorL& x) { return exact * x; };
    pencil.Rigid = result.Rigid;
    // The scale of the values from a smooth motion.
    const VectorL estimate = numbering.Restrict(family.Estimate).cast<Real>();
    pencil.Shift =
        static_cast<double>(estimate.dot(exact * estimate) / estimate.dot(pencil.M * estimate));
    if (!std::isfinite(pencil.Shift) || !(pencil.Shift > 0))
        pencil.Shift = static_cast<double>(trial.dot(exact * trial)) / inertia;
    pencil.OutOfRange = OutOfProportion();
    pencil.Unsolvable = QStringLiteral("the shaft's equations cannot be solved");
    for (PencilModes::ExtendedMode& mode : PencilModes::Lowest(pencil, count, result.Error)) {
        result.Noise.push_back(mode.Noise);
        result.Modes.emplace_back(mode.Lambda, numbering.Expand(mode.Shape));
    }
    return result;
}

// Elements joined into pieces by their shared nodes.
class Pieces {
public:
    explicit Pieces(const ShaftModel& model) : parent_(model.X.size()) {
        std::iota(parent_.begin(), parent_.end(), 0);
        for (const ShaftModel::Element& element : model.Elements)
            parent_[static_cast<size_t>(Root(element.I))] = Root(element.J);
        for (size_t node = 0; node < parent_.size(); ++node) {
            const int root = Root(static_cast<int>(node));
            auto found = std::find(roots_.begin(), roots_.end(), root);
            if (found == roots_.end()) {
                roots_.push_back(root);
                nodes_.emplace_back();
                found = roots_.end() - 1;
            }
            nodes_[static_cast<size_t>(found - roots_.begin())].push_back(static_cast<int>(node));
        }
    }

    const std::vector<std::vector<int>>& Nodes() const { return nodes_; }

private:
    int Root(int node) {
        while (parent_[static_cast<size_t>(node)] != node) {
            parent_[static_cast<size_t>(node)] =
                parent_[static_cast<size_t>(parent_[static_cast<size_t>(node)])];
            node = parent_[static_cast<size_t>(node)];
        }
        return node;
    }

    std::vector<int> parent_;
    std::vector<int> roots_;
    std::vector<std::vector<int>> nodes_;
};

struct Span {
    double Low = 0, Length = 1;
};

Span SpanOf(const ShaftModel& model, const std::vector<int>& nodes) {
    double low = model.X[static_cast<size_t>(nodes.front())], high = low;
    for (int node : nodes) {
        low = std::min(low, model.X[static_cast<size_t>(node)]);
        high = std::max(high, model.X[static_cast<size_t>(node)]);
    }
    return {low, high > low ? high - low : 1.0};
}

// A smooth positive motion with strain in every element: e^(x / L) over each piece.
double Smooth(const Span& span, double x) {
    return std::exp((x - span.Low) / span.Length);
}

// One piece's share of the bending family: per piece, v = a + b x is free of strain, and each
// bearing asks v = 0 at its node; what is left of it is a rigid motion, told in a note.
void BendingPiece(const ShaftModel& model, const std::vector<int>& piece, Family& family,
                  std::vector<Eigen::VectorXd>& rigid, QStringList& notes) {
    const Span span = SpanOf(model, piece);
    std::vector<const ShaftModel::Bearing*> held;
    for (const ShaftModel::Bearing& bearing : model.Bearings)
        if (std::find(piece.begin(), piece.end(), bearing.Node) != piece.end())
            held.push_back(&bearing);
    Eigen::MatrixXd conditions(static_cast<Eigen::Index>(held.size()), 2);
    for (size_t i = 0; i < held.size(); ++i)
        conditions.row(static_cast<Eigen::Index>(i)) << 1,
            (model.X[static_cast<size_t>(held[i]->Node)] - span.Low) / span.Length;
    Eigen::MatrixXd free = Eigen::MatrixXd::Identity(2, 2);
    if (!held.empty()) {
        const Eigen::JacobiSVD<Eigen::MatrixXd> svd(conditions, Eigen::ComputeFullV);
        const Eigen::VectorXd sigma = svd.singularValues();
        Eigen::Index rank = 0;
        for (Eigen::Index i = 0; i < sigma.size(); ++i)
            rank += sigma[i] > 1e-9 * sigma[0] ? 1 : 0;
        free = svd.matrixV().rightCols(2 - rank);
    }
    const auto freedom = static_cast<int>(free.cols());
    for (int f = 0; f < freedom; ++f) {
        Eigen::VectorXd motion = Eigen::VectorXd::Zero(family.Dofs());
        for (int node : piece) {
            const double xi = (model.X[static_cast<size_t>(node)] - span.Low) / span.Length;
            motion[2 * node] = free(0, f) + free(1, f) * xi;
            motion[2 * node + 1] = free(1, f) / span.Length;
        }
        rigid.push_back(motion);
    }
    // e^xi times the polynomial that vanishes at the bearings, with its slope.
    std::vector<double> roots;
    for (const ShaftModel::Bearing* bearing : held)
        roots.push_back((model.X[static_cast<size_t>(bearing->Node)] - span.Low) / span.Length);
    for (int node : piece) {
        const double x = model.X[static_cast<size_t>(node)];
        const double s = Smooth(span, x), xi = (x - span.Low) / span.Length;
        family.Trial[2 * node] = s;
        family.Trial[2 * node + 1] = s / span.Length;
        double product = 1, slope = 0;
        for (double root : roots) {
            slope = slope * (xi - root) + product;
            product *= xi - root;
        }
        family.Estimate[2 * node] = s * product;
        family.Estimate[2 * node + 1] = s * (product + slope) / span.Length;
    }
    const auto end = [&](bool high) {
        return 1 + *std::min_element(piece.begin(), piece.end(), [&](int a, int b) {
                   const double xa = model.X[static_cast<size_t>(a)];
                   const double xb = model.X[static_cast<size_t>(b)];
                   return high ? xa > xb : xa < xb;
               });
    };
    const QString where =
        QStringLiteral("The shaft from node %1 to node %2").arg(end(false)).arg(end(true));
    if (held.empty())
        notes << where + QStringLiteral(" rests on no bearing: it can move as a rigid "
                                        "body, which is not listed.");
    else if (freedom == 1)
        notes << where + QStringLiteral(" rests on one bearing only (node %1, line %2): it "
                                        "can tilt about it as a rigid body, which is not "
                                        "listed.")
                             .arg(held.front()->Node + 1)
                             .arg(held.front()->Line);
}

Family Bending(const ShaftModel& model, const Line& line, const Pieces& pieces,
               QStringList& notes) {
    Family family(Kind::Bending, line);
    family.Trial.resize(family.Dofs());
    family.Estimate.resize(family.Dofs());
    std::vector<Eigen::VectorXd> rigid;
    for (const std::vector<int>& piece : pieces.Nodes())
        BendingPiece(model, piece, family, rigid, notes);
    family.Rigid.resize(family.Dofs(), static_cast<Eigen::Index>(rigid.size()));
    for (size_t i = 0; i < rigid.size(); ++i)
        family.Rigid.col(static_cast<Eigen::Index>(i)) = rigid[i];
    return family;
}

Family Torsion(const ShaftModel& model, const Line& line, const Pieces& pieces) {
    Family family(Kind::Torsion, line);
    // Bearings do not hold the turning: every piece turns freely as a whole.
    family.Trial.resize(family.Dofs());
    family.Rigid =
        Eigen::MatrixXd::Zero(family.Dofs(), static_cast<Eigen::Index>(pieces.Nodes().size()));
    for (size_t p = 0; p < pieces.Nodes().size(); ++p) {
        const Span span = SpanOf(model, pieces.Nodes()[p]);
        for (int node : pieces.Nodes()[p]) {
            family.Rigid(node, static_cast<Eigen::Index>(p)) = 1;
            family.Trial[node] = Smooth(span, model.X[static_cast<size_t>(node)]);
        }
    }
    family.Estimate = family.Trial;
    return family;
}

ShaftModes::Mode Normalised(ShaftModes::Kind kind, double lambda, const Eigen::VectorXd& all) {
    ShaftModes::Mode mode;
    mode.Type = kind;
    mode.Lambda = lambda;
    mode.Shape.assign(all.data(), all.data() + all.size());
    const size_t width = static_cast<size_t>(mode.Width());
    // The largest deflection (twist), or the largest slope of a mode that only tilts.
    double extreme = 0;
    for (size_t c = 0; c < width && extreme == 0; ++c)
        for (size_t i = c; i < mode.Shape.size(); i += width)
            if (std::abs(mode.Shape[i]) > std::abs(extreme))
                extreme = mode.Shape[i];
    if (extreme != 0)
        for (double& value : mode.Shape)
            value /= extreme;
    return mode;
}

} // namespace

ShaftModes::Result ShaftModes::Lowest(const ShaftModel& model, int count) {
    Result result;
    if (count < 1)
        return result;
    const Pieces pieces(model);
    if (pieces.Nodes().size() > 1)
        result.Notes
            << QStringLiteral("The elements form %1 separate shafts.").arg(pieces.Nodes().size());
    const Line line(model);
    const FamilyModes bending = ::Lowest(Bending(model, line, pieces, result.Notes), count);
    const FamilyModes torsion = ::Lowest(Torsion(model, line, pieces), count);
    for (const FamilyModes* family : {&bending, &torsion})
        if (!family->Error.isEmpty()) {
            result.Error = family->Error;
            return result;
        }
    if (bending.Massless && torsion.Massless) {
        result.Error =
            QStringLiteral("the shaft has no mass that can move: give the unit weight gamma "
                           "of its material (table 2, line %1) or discs with a mass (table 9)")
                .arg(model.Materials.front().Line);
        return result;
    }
    if (bending.Massless)
        result.Notes << QStringLiteral("No bending modes: nothing that can move sideways has a "
                                       "mass (gamma is 0 and no disc has m or Jd where the "
                                       "shaft can move).");
    if (torsion.Massless)
        result.Notes << QStringLiteral("No torsion modes: gamma is 0 and no disc has a polar "
                                       "moment of inertia Jp.");
    result.RigidBending = bending.Rigid;
    result.RigidTorsion = torsion.Rigid;

    size_t b = 0, t = 0;
    while (static_cast<int>(result.Modes.size()) < count &&
           (b < bending.Modes.size() || t < torsion.Modes.size())) {
        const bool takeBending =
            t == torsion.Modes.size() ||
            (b < bending.Modes.size() && bending.Modes[b].first <= torsion.Modes[t].first);
        const FamilyModes& family = takeBending ? bending : torsion;
        const size_t k = takeBending ? b : t;
        // A residual far above rounding is no mode: refused, never listed.
        if (!(family.Noise[k] <= ModeNoise)) {
            result.Modes.clear();
            result.Error = OutOfProportion();
            return result;
        }
        if (takeBending) {
            result.Modes.push_back(
                Normalised(Kind::Bending, bending.Modes[b].first, bending.Modes[b].second));
            ++b;
        } else {
            result.Modes.push_back(
                Normalised(Kind::Torsion, torsion.Modes[t].first, torsion.Modes[t].second));
            ++t;
        }
    }
    if (result.Modes.empty())
        result.Error = QStringLiteral("the shaft has no natural modes with the masses given");
    return result;
}
