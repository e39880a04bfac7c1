#include "ShaftModes.h"

#include "EquationSystem.h"
#include "ModalAnalysis.h"
#include "ShaftElement.h"
#include "SolverError.h"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numeric>

// The shaft is one model of elements over the one equation system and modal analysis. What is
// its own: bending and torsion are solved apart (the round shaft couples neither), each over
// the components of space its motions use, and the motions without strain its bearings allow
// are known from the geometry, which tells the rigid motions to leave out, the massless ones
// to hold and a smooth motion for the shift of the factorisation.

namespace {

using Kind = ShaftModes::Kind;
using Point = ModalAnalysis::Point;

// Where component c of a node lies in a motion of the whole line: six values per node.
Eigen::Index At(int node, int component) {
    return 6 * static_cast<Eigen::Index>(node) + component;
}

// The shaft line as the analysis knows it: its elements, the nodes its rigid bearings hold,
// its elastic bearings' springs and its discs' masses, at the components of space of their
// nodes (uy, rx and rz).
struct Line {
    size_t Nodes = 0;
    std::vector<std::unique_ptr<ShaftElement>> Elements;
    std::vector<int> Held;
    std::vector<Point> Springs, Masses;

    explicit Line(const ShaftModel& model) : Nodes(model.X.size()) {
        Elements.reserve(model.Elements.size());
        for (const ShaftModel::Element& element : model.Elements)
            Elements.push_back(std::make_unique<ShaftElement>(model, element));
        for (const ShaftModel::Bearing& bearing : model.Bearings) {
            if (bearing.Rigid())
                Held.push_back(bearing.Node);
            else
                Springs.push_back({bearing.Node, 1, bearing.K});
        }
        for (const ShaftModel::Disc& disc : model.Discs)
            for (const Point& mass : {Point{disc.Node, 1, disc.M}, Point{disc.Node, 3, disc.Jp},
                                      Point{disc.Node, 5, disc.Jd}})
                if (mass.Value > 0)
                    Masses.push_back(mass);
    }
    std::vector<const Element*> Pointers() const {
        std::vector<const Element*> pointers;
        for (const auto& element : Elements)
            pointers.push_back(element.get());
        return pointers;
    }
};

// One family of motions, bending or torsion: the components of space it works in at every
// node (uy and rz; rx), which of them are held, and motions of the whole line (six values per
// node) that tell its rigid motions and the scale of its values.
struct Family {
    Kind Type = Kind::Bending;
    std::vector<int> Components;
    std::vector<bool> Fixed;
    Eigen::MatrixXd Rigid; // columns: the motions without strain the bearings allow
    Eigen::VectorXd Trial; // a smooth motion with strain, positive everywhere
    // A smooth motion that the bearings let pass without a kink, for the scale of the
    // frequencies: a kink at a held node would put the fineness of the mesh into it.
    Eigen::VectorXd Estimate;

    Family(Kind type, const Line& line)
        : Type(type),
          Components(type == Kind::Bending ? std::vector<int>{1, 5} : std::vector<int>{3}),
          Fixed(6 * line.Nodes, false), Trial(Eigen::VectorXd::Zero(Size())),
          Estimate(Eigen::VectorXd::Zero(Size())) {
        if (type == Kind::Bending)
            for (int node : line.Held)
                Fixed[static_cast<size_t>(At(node, 1))] = true;
    }
    int Width() const { return static_cast<int>(Components.size()); }
    Eigen::Index Size() const { return static_cast<Eigen::Index>(Fixed.size()); }
};

// M u of the elements and the point masses, over motions of the whole line.
Eigen::MatrixXd MassProduct(const Line& line, const Eigen::MatrixXd& u) {
    Eigen::MatrixXd out = Eigen::MatrixXd::Zero(u.rows(), u.cols());
    for (const auto& element : line.Elements) {
        if (!(element->TotalMass() > 0))
            continue;
        const Element::Matrix m = element->Mass();
        std::array<Eigen::Index, 6> where{};
        size_t count = 0;
        for (int node : element->Nodes())
            for (int c : element->Components())
                where[count++] = At(node, c);
        for (Eigen::Index k = 0; k < u.cols(); ++k)
            for (size_t i = 0; i < count; ++i)
                for (size_t j = 0; j < count; ++j)
                    out(where[i], k) +=
                        m(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)) *
                        u(where[j], k);
    }
    for (const Point& mass : line.Masses)
        out.row(At(mass.Node, mass.Component)) += mass.Value * u.row(At(mass.Node, mass.Component));
    return out;
}

// Holds each rigid motion of the family that carries no mass at one component (the pencil has
// the same values on any complement of them); returns the count of those with mass.
int HoldMassless(Family& family, const Line& line) {
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
    const Eigen::MatrixXd onRigid = rigid.transpose() * MassProduct(line, rigid);
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> split((onRigid + onRigid.transpose()) / 2);
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

// A motion of the whole line at the equations of the system.
Eigen::VectorXd Restrict(const EquationSystem& system, const Family& family,
                         const Eigen::VectorXd& all) {
    Eigen::VectorXd free = Eigen::VectorXd::Zero(system.Equations());
    for (int node = 0; node < system.Numbering().Nodes(); ++node)
        for (int c : family.Components)
            if (const int e = system.Equation(node, c); e >= 0)
                free[e] = all[At(node, c)];
    return free;
}

// A mode's shape node by node, the family's components at each (0 where held).
Eigen::VectorXd Expand(const EquationSystem& system, const Family& family,
                       const Eigen::VectorXd& free) {
    const int nodes = system.Numbering().Nodes(), width = family.Width();
    Eigen::VectorXd shape = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(nodes) * width);
    for (int node = 0; node < nodes; ++node)
        for (int k = 0; k < width; ++k)
            if (const int e = system.Equation(node, family.Components[static_cast<size_t>(k)]);
                e >= 0)
                shape[static_cast<Eigen::Index>(node) * width + k] = free[e];
    return shape;
}

// Why an eigen-solver that met values beyond its reach gave nothing.
QString OutOfProportion() {
    return QStringLiteral("the natural modes cannot be calculated: the stiffnesses and masses "
                          "are too far out of proportion to compute with (a bearing far softer "
                          "or an element far stiffer than the rest, or values near the largest "
                          "number)");
}

// The modes of one family: the rigid motions without mass are held at one component each;
// those with mass are found, at lambda = 0, and skipped.
struct FamilyModes {
    std::vector<std::pair<double, Eigen::VectorXd>> Modes; // lambda, shape node by node
    // Per mode: how far its lambda moves, relative, when its shape is rounded to double.
    // Where the stiffnesses are too far apart (a bearing spring beside elements 1e30 times
    // stiffer) lambda is then rounding itself, and only this tells.
    std::vector<double> Noise;
    int Rigid = 0;
    bool Massless = false;
};

FamilyModes Lowest(Family family, const Line& line, int count) {
    FamilyModes result;
    result.Rigid = HoldMassless(family, line);
    EquationSystem system(static_cast<int>(line.Nodes), line.Pointers(), {});
    // Every component not held is kept: the elements stiffen each.
    const std::vector<double> stiffened(6 * line.Nodes, 1.0);
    system.Number(family.Components, stiffened,
                  {family.Fixed, std::vector<bool>(6 * line.Nodes, false)});
    ModalAnalysis::Shifted shifted;
    shifted.Springs = line.Springs;
    shifted.Rigid = result.Rigid;
    shifted.Guesses = {Restrict(system, family, family.Estimate),
                       Restrict(system, family, family.Trial)};
    shifted.OutOfRange = OutOfProportion();
    shifted.Unsolvable = QStringLiteral("the shaft's equations cannot be solved");
    const ModalAnalysis::ShiftedFound found =
        ModalAnalysis::Natural(system, line.Masses, count, shifted);
    if (found.Massless) {
        result.Massless = true;
        result.Rigid = 0;
        return result;
    }
    result.Noise = found.Noise;
    for (const PencilModes::Mode& mode : found.Modes)
        result.Modes.emplace_back(mode.Lambda, Expand(system, family, mode.Shape));
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
        Eigen::VectorXd motion = Eigen::VectorXd::Zero(family.Size());
        for (int node : piece) {
            const double xi = (model.X[static_cast<size_t>(node)] - span.Low) / span.Length;
            motion[At(node, 1)] = free(0, f) + free(1, f) * xi;
            motion[At(node, 5)] = free(1, f) / span.Length;
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
        family.Trial[At(node, 1)] = s;
        family.Trial[At(node, 5)] = s / span.Length;
        double product = 1, slope = 0;
        for (double root : roots) {
            slope = slope * (xi - root) + product;
            product *= xi - root;
        }
        family.Estimate[At(node, 1)] = s * product;
        family.Estimate[At(node, 5)] = s * (product + slope) / span.Length;
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
    std::vector<Eigen::VectorXd> rigid;
    for (const std::vector<int>& piece : pieces.Nodes())
        BendingPiece(model, piece, family, rigid, notes);
    family.Rigid.resize(family.Size(), static_cast<Eigen::Index>(rigid.size()));
    for (size_t i = 0; i < rigid.size(); ++i)
        family.Rigid.col(static_cast<Eigen::Index>(i)) = rigid[i];
    return family;
}

Family Torsion(const ShaftModel& model, const Line& line, const Pieces& pieces) {
    Family family(Kind::Torsion, line);
    // Bearings do not hold the turning: every piece turns freely as a whole.
    family.Rigid =
        Eigen::MatrixXd::Zero(family.Size(), static_cast<Eigen::Index>(pieces.Nodes().size()));
    for (size_t p = 0; p < pieces.Nodes().size(); ++p) {
        const Span span = SpanOf(model, pieces.Nodes()[p]);
        for (int node : pieces.Nodes()[p]) {
            family.Rigid(At(node, 3), static_cast<Eigen::Index>(p)) = 1;
            family.Trial[At(node, 3)] = Smooth(span, model.X[static_cast<size_t>(node)]);
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
    const FamilyModes bending = ::Lowest(Bending(model, line, pieces, result.Notes), line, count);
    const FamilyModes torsion = ::Lowest(Torsion(model, line, pieces), line, count);
    if (bending.Massless && torsion.Massless)
        throw SolverError(
            QStringLiteral("the shaft has no mass that can move: give the unit weight gamma "
                           "of its material (table 2, line %1) or discs with a mass (table 9)")
                .arg(model.Materials.front().Line));
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
        if (!(family.Noise[k] <= ModeNoise))
            throw SolverError(OutOfProportion());
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
        throw SolverError(QStringLiteral("the shaft has no natural modes with the masses given"));
    return result;
}
