#include "ShaftModes.h"

#include "PencilModes.h"
#include "ShaftElement.h"

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
using Triplets = std::vector<Eigen::Triplet<Real>>;

// A small symmetric matrix over some unknowns of a family: an element's or a disc's share of
// the mass.
struct Block {
    std::vector<int> Dofs;
    Eigen::MatrixXd Values;
};

// A bending element between the unknowns (v, theta) at V1, V1 + 1 and V2, V2 + 1.
struct Beam {
    const ShaftElement* Element = nullptr;
    int V1 = 0, V2 = 0;

    void AddProduct(const VectorL& u, VectorL& out) const {
        Element->AddBendingProduct(u, V1, V2, out);
    }
};

// One family of motions (bending or torsion) over all its unknowns, before the supports.
struct Family {
    int Dofs = 0;
    std::vector<Beam> Beams;
    Triplets Stiffness; // the rest: springs, torsion elements
    std::vector<Block> Masses;
    std::vector<bool> Fixed;
    Eigen::MatrixXd Rigid; // columns: the motions without strain the bearings allow
    Eigen::VectorXd Trial; // a smooth motion with strain, positive everywhere
    // A smooth motion that the bearings let pass without a kink, for the scale of the
    // frequencies: a kink at a held node would put the fineness of the mesh into it.
    Eigen::VectorXd Estimate;
};

// The unknowns left free, numbered in order.
struct Numbering {
    std::vector<int> Equation; // by unknown; -1 when fixed
    int Count = 0;

    explicit Numbering(const std::vector<bool>& fixed) : Equation(fixed.size(), -1) {
        for (size_t d = 0; d < fixed.size(); ++d)
            if (!fixed[d])
                Equation[d] = Count++;
    }
    Eigen::VectorXd Restrict(const Eigen::VectorXd& all) const {
        Eigen::VectorXd free(Count);
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

Sparse Assemble(const Triplets& all, const Numbering& numbering) {
    Triplets kept;
    kept.reserve(all.size());
    for (const auto& t : all) {
        const int r = numbering.Equation[static_cast<size_t>(t.row())];
        const int c = numbering.Equation[static_cast<size_t>(t.col())];
        if (r >= 0 && c >= 0)
            kept.emplace_back(r, c, t.value());
    }
    Sparse matrix(numbering.Count, numbering.Count);
    matrix.setFromTriplets(kept.begin(), kept.end());
    return matrix;
}

Triplets StiffnessTriplets(const Family& family) {
    Triplets triplets = family.Stiffness;
    for (const Beam& beam : family.Beams) {
        const ShaftElement::Bending k = beam.Element->BendingStiffness();
        const int dofs[4] = {beam.V1, beam.V1 + 1, beam.V2, beam.V2 + 1};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                triplets.emplace_back(dofs[i], dofs[j], k(i, j));
    }
    return triplets;
}

// K x over the free unknowns, element by element.
class Stiffness {
public:
    Stiffness(const Family& family, const Numbering& numbering)
        : family_(family), numbering_(numbering) {}

    VectorL operator*(const VectorL& free) const {
        const VectorL all = numbering_.Expand(free);
        VectorL out = VectorL::Zero(all.size());
        for (const Beam& beam : family_.Beams)
            beam.AddProduct(all, out);
        for (const auto& t : family_.Stiffness)
            out[t.row()] += t.value() * all[t.col()];
        VectorL kept(numbering_.Count);
        for (size_t d = 0; d < numbering_.Equation.size(); ++d)
            if (numbering_.Equation[d] >= 0)
                kept[numbering_.Equation[d]] = out[static_cast<Eigen::Index>(d)];
        return kept;
    }

private:
    const Family& family_;
    const Numbering& numbering_;
};

Triplets MassTriplets(const std::vector<Block>& blocks) {
    Triplets triplets;
    for (const Block& block : blocks)
        for (size_t i = 0; i < block.Dofs.size(); ++i)
            for (size_t j = 0; j < block.Dofs.size(); ++j)
                triplets.emplace_back(
                    block.Dofs[i], block.Dofs[j],
                    block.Values(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)));
    return triplets;
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

FamilyModes Lowest(Family family, int count) {
    FamilyModes result;
    const Triplets massTriplets = MassTriplets(family.Masses);
    Sparse fullMass(family.Dofs, family.Dofs);
    fullMass.setFromTriplets(massTriplets.begin(), massTriplets.end());

    // The rigid motions by their mass: those with none are held.
    Eigen::MatrixXd rigid = family.Rigid;
    for (Eigen::Index c = 0; c < rigid.cols(); ++c) {
        for (Eigen::Index d = 0; d < rigid.rows(); ++d)
            if (family.Fixed[static_cast<size_t>(d)])
                rigid(d, c) = 0;
        if (const double top = rigid.col(c).cwiseAbs().maxCoeff(); top > 0)
            rigid.col(c) /= top;
    }
    if (rigid.cols() > 0) {
        const MatrixL motions = rigid.cast<Real>();
        const Eigen::MatrixXd onRigid = (motions.transpose() * (fullMass * motions)).cast<double>();
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> split(onRigid);
        const double top = split.eigenvalues().cwiseAbs().maxCoeff();
        std::vector<Eigen::VectorXd> massless;
        for (Eigen::Index i = 0; i < split.eigenvalues().size(); ++i) {
            if (split.eigenvalues()[i] <= 1e-12 * top)
                massless.push_back(rigid * split.eigenvectors().col(i));
            else
                ++result.Rigid;
        }
        for (size_t i = 0; i < massless.size(); ++i) {
            Eigen::Index held = 0;
            massless[i].cwiseAbs().maxCoeff(&held);
            family.Fixed[static_cast<size_t>(held)] = true;
            for (size_t j = i + 1; j < massless.size(); ++j)
                massless[j] -= massless[j][held] / massless[i][held] * massless[i];
        }
    }

    const Numbering numbering(family.Fixed);
    const Stiffness exact(family, numbering);
    PencilModes::Extended pencil;
    pencil.K = Assemble(StiffnessTriplets(family), numbering);
    pencil.M = Assemble(massTriplets, numbering);
    const VectorL trial = numbering.Restrict(family.Trial).cast<Real>();
    const auto inertia = static_cast<double>(trial.dot(pencil.M * trial));
    if (numbering.Count == 0 || !(inertia > 0)) {
        result.Massless = true;
        result.Rigid = 0;
        return result;
    }
    for (const Block& block : family.Masses) {
        PencilModes::Extended::Block& free = pencil.Masses.emplace_back();
        free.Values = block.Values;
        for (int dof : block.Dofs)
            free.Equations.push_back(numbering.Equation[static_cast<size_t>(dof)]);
    }
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

Family Bending(const ShaftModel& model, const std::vector<ShaftElement>& elements,
               const Pieces& pieces, QStringList& notes) {
    Family family;
    const auto nodes = static_cast<int>(model.X.size());
    family.Dofs = 2 * nodes;
    family.Fixed.assign(static_cast<size_t>(family.Dofs), false);
    for (const ShaftElement& element : elements) {
        const int a = element.Nodes()[0], b = element.Nodes()[1];
        family.Beams.push_back({&element, 2 * a, 2 * b});
        if (const Eigen::Matrix4d m = element.BendingMass(); m(0, 0) > 0)
            family.Masses.push_back({{2 * a, 2 * a + 1, 2 * b, 2 * b + 1}, m});
    }
    for (const ShaftModel::Bearing& bearing : model.Bearings) {
        if (bearing.Rigid())
            family.Fixed[static_cast<size_t>(2 * bearing.Node)] = true;
        else
            family.Stiffness.emplace_back(2 * bearing.Node, 2 * bearing.Node, bearing.K);
    }
    for (const ShaftModel::Disc& disc : model.Discs) {
        if (disc.M > 0)
            family.Masses.push_back({{2 * disc.Node}, Eigen::MatrixXd::Constant(1, 1, disc.M)});
        if (disc.Jd > 0)
            family.Masses.push_back(
                {{2 * disc.Node + 1}, Eigen::MatrixXd::Constant(1, 1, disc.Jd)});
    }

    // Per piece, v = a + b x is free of strain; each bearing asks v = 0 at its node.
    family.Trial.resize(family.Dofs);
    family.Estimate.resize(family.Dofs);
    std::vector<Eigen::VectorXd> rigid;
    for (const std::vector<int>& piece : pieces.Nodes()) {
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
            Eigen::VectorXd motion = Eigen::VectorXd::Zero(family.Dofs);
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
    family.Rigid.resize(family.Dofs, static_cast<Eigen::Index>(rigid.size()));
    for (size_t i = 0; i < rigid.size(); ++i)
        family.Rigid.col(static_cast<Eigen::Index>(i)) = rigid[i];
    return family;
}

Family Torsion(const ShaftModel& model, const std::vector<ShaftElement>& elements,
               const Pieces& pieces) {
    Family family;
    family.Dofs = static_cast<int>(model.X.size());
    family.Fixed.assign(static_cast<size_t>(family.Dofs), false);
    for (size_t e = 0; e < elements.size(); ++e) {
        // In the order of the data's ends, as the sums of the assembly have always gone.
        const int i = model.Elements[e].I, j = model.Elements[e].J;
        const double gip = elements[e].TorsionStiffness()(0, 0);
        family.Stiffness.emplace_back(i, i, gip);
        family.Stiffness.emplace_back(j, j, gip);
        family.Stiffness.emplace_back(i, j, -gip);
        family.Stiffness.emplace_back(j, i, -gip);
        if (const Eigen::Matrix2d m = elements[e].TorsionMass(); m(0, 0) > 0)
            family.Masses.push_back({{i, j}, m});
    }
    for (const ShaftModel::Disc& disc : model.Discs)
        if (disc.Jp > 0)
            family.Masses.push_back({{disc.Node}, Eigen::MatrixXd::Constant(1, 1, disc.Jp)});
    // Bearings do not hold the turning: every piece turns freely as a whole.
    family.Trial.resize(family.Dofs);
    family.Rigid =
        Eigen::MatrixXd::Zero(family.Dofs, static_cast<Eigen::Index>(pieces.Nodes().size()));
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
    std::vector<ShaftElement> elements;
    elements.reserve(model.Elements.size());
    for (const ShaftModel::Element& element : model.Elements)
        elements.emplace_back(model, element);
    const FamilyModes bending = ::Lowest(Bending(model, elements, pieces, result.Notes), count);
    const FamilyModes torsion = ::Lowest(Torsion(model, elements, pieces), count);
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
