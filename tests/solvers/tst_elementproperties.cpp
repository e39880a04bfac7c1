#include "BarElement.h"
#include "ConicalShell.h"
#include "Elasticity.h"
#include "FlatShell.h"
#include "MeshPanels.h"
#include "MeshStatics.h"
#include "PlaneFamily.h"
#include "PlaneSolid.h"
#include "ScalarField.h"
#include "ShaftElement.h"
#include "SolidElements.h"
#include "SurfaceFamily.h"

#include <Eigen/Eigenvalues>
#include <QTest>
#include <functional>
#include <memory>
#include <numeric>

// What every element must satisfy, whatever its formulation: a symmetric stiffness whose null
// space is exactly the rigid-body motions it can make (no spurious mechanism, no stiffness
// against moving as a whole), and a mass that adds up to the element's own. A new element kind
// is one more entry in Kinds().
class TestElementProperties : public QObject {
    Q_OBJECT

    using Points = std::vector<Eigen::Vector3d>;

    struct Kind {
        QString Name;
        std::function<std::unique_ptr<Element>()> Make;
        Points At; // the nodes' coordinates in space
        // The rigid motions as displacements of the element's components, one per column.
        std::function<Eigen::MatrixXd(const Element&, const Points&)> Rigid;
        // The motions that strain it not: the rigid ones, unless more are free by design (a
        // truss bar resists stretching only).
        int Free = -1;
    };

    // A rigid motion u = t + w x p, with rotations w where the element has them.
    static Eigen::MatrixXd SpaceMotions(const Element& element, const Points& at,
                                        const std::vector<int>& motions) {
        const auto components = element.Components();
        Eigen::MatrixXd modes = Eigen::MatrixXd::Zero(element.Size(), motions.size());
        for (size_t m = 0; m < motions.size(); ++m) {
            Eigen::Vector3d t = Eigen::Vector3d::Zero(), w = Eigen::Vector3d::Zero();
            (motions[m] < 3 ? t : w)[motions[m] % 3] = 1;
            for (size_t a = 0; a < at.size(); ++a) {
                Eigen::Matrix<double, 6, 1> u;
                u << t + w.cross(at[a]), w;
                for (size_t c = 0; c < components.size(); ++c)
                    modes(static_cast<Eigen::Index>(a * components.size() + c),
                          static_cast<Eigen::Index>(m)) = u(components[c]);
            }
        }
        return modes;
    }

    static PlaneSolid Solid(PlaneSolid::Form form, bool planeStrain = false) {
        PlaneSolid solid;
        solid.Kind = form;
        solid.D = form == PlaneSolid::Form::Axisymmetric
                      ? PlaneSolid::Elastic(Elasticity::Axisymmetric(2e5, 0.3))
                  : planeStrain ? PlaneSolid::Elastic(Elasticity::PlaneStrain(2e5, 0.3))
                                : PlaneSolid::Elastic(Elasticity::PlaneStress(2e5, 0.3));
        solid.PlaneStrain = planeStrain;
        solid.OutOfPlaneStress = planeStrain;
        solid.E = 2e5;
        solid.Nu = 0.3;
        solid.Thickness = planeStrain ? 1 : 0.2;
        solid.Density = 7.85;
        return solid;
    }

    std::vector<Kind> Kinds();
    // Plates and flat shells.
    std::vector<Kind> SurfaceKinds();
    // Bricks, wedges and tetrahedra.
    std::vector<Kind> SolidKinds();
    std::vector<Kind> All() {
        std::vector<Kind> all = Kinds(), surfaces = SurfaceKinds(), solids = SolidKinds();
        all.insert(all.end(), surfaces.begin(), surfaces.end());
        all.insert(all.end(), solids.begin(), solids.end());
        return all;
    }

    BarModel bars_;
    PlaneSolid plane_ = Solid(PlaneSolid::Form::Plane);
    PlaneSolid ring_ = Solid(PlaneSolid::Form::Axisymmetric);
    PlaneSolid strain_ = Solid(PlaneSolid::Form::Plane, true);
    ShellMaterial shell_{2e5, 0.3, 0.2, 7.85};
    SolidMaterial solid_{Elasticity::Solid(2e5, 0.3), 7.85};
    ShaftModel shaft_;

private slots:
    void stiffnessIsSymmetricWithRigidNullSpace();
    void massAddsUpToTheElement();
    void geometricStiffnessIsSymmetricAndTranslationFree();
    void madeUpElementSolvesThePatchThroughOneRow();
    void heatAndWeightOfTheContinuumElements();
    void plateFoundationCarriesItsArea();
};

std::vector<TestElementProperties::Kind> TestElementProperties::Kinds() {
    // A space frame bar, skew in space, turned about itself.
    bars_.Axes = ProblemType::Layout::Space;
    bars_.Nodes = {{0.3, -0.2, 0.5}, {2.9, 1.4, 2.2}};
    BarModel::Bar bar;
    bar.I = 0;
    bar.J = 1;
    bar.E = 2.1e8;
    bar.G = 8e7;
    bar.A = 0.01;
    bar.It = 2e-6;
    bar.Iy = 8e-5;
    bar.Iz = 3e-5;
    bar.Beta = 25;
    bar.Density = 78.5;
    bars_.Bars = {bar};
    BarModel::Bar truss = bar;
    truss.Truss = true;
    bars_.Bars.push_back(truss);
    // A hollow shaft element, given from either end: its first node is the one of lower x.
    shaft_.Gravity = 9.81;
    shaft_.X = {2.5, 0.7};
    shaft_.Materials = {{2.1e8, 0.3, 78.5, 1}};
    shaft_.Sections = {{0.12, 0.05, 1}};
    shaft_.Elements = {{0, 1, 0, 0, 1}, {1, 0, 0, 0, 1}};
    const Points shaftAt{{0.7, 0, 0}, {2.5, 0, 0}};
    const auto shaft = [this](size_t e) {
        return [this, e] {
            return std::unique_ptr<Element>(
                std::make_unique<ShaftElement>(shaft_, shaft_.Elements[e]));
        };
    };
    const auto shaftMotions = [](const Element& e, const Points& at) {
        return SpaceMotions(e, at, {1, 3, 5}); // uy, the turn about the axis, the tilt
    };
    // Distorted shapes: no side parallel to another, no right angle.
    const Points triangle{{0.2, 0, 0.1}, {2.3, 0, 0.6}, {0.9, 0, 1.8}};
    const Points quad{{0.1, 0, 0.2}, {2.2, 0, -0.1}, {2.6, 0, 1.7}, {0.4, 0, 1.3}};
    const auto plane2 = [](const Points& p, size_t a) {
        return std::array<double, 2>{p[a].x(), p[a].z()};
    };
    const auto planeMotions = [](const Element& e, const Points& at) {
        return SpaceMotions(e, at, {0, 2, 4}); // ux, uz and the turn about y
    };
    // A body of revolution moves as a whole only along its axis; its ring off the axis.
    const Points ringTriangle{{1.2, 0, 0.1}, {2.3, 0, 0.6}, {1.5, 0, 1.8}};
    const Points ringQuad{{1.1, 0, 0.2}, {2.2, 0, -0.1}, {2.6, 0, 1.7}, {1.4, 0, 1.3}};
    const auto axialMotion = [](const Element& e, const Points& at) {
        return SpaceMotions(e, at, {2});
    };
    const auto tri = [&](const PlaneSolid& solid, const Points& p) {
        return [&solid, p, plane2] {
            return std::unique_ptr<Element>(std::make_unique<PlaneTriangle>(
                solid, std::array<int, 3>{0, 1, 2},
                std::array<std::array<double, 2>, 3>{plane2(p, 0), plane2(p, 1), plane2(p, 2)}));
        };
    };
    const auto quad4 = [&](const PlaneSolid& solid, const Points& p) {
        return [&solid, p, plane2] {
            return std::unique_ptr<Element>(std::make_unique<PlaneQuad>(
                solid, std::array<int, 4>{0, 1, 2, 3},
                std::array<std::array<double, 2>, 4>{plane2(p, 0), plane2(p, 1), plane2(p, 2),
                                                     plane2(p, 3)}));
        };
    };
    Points barAt;
    for (const auto& n : bars_.Nodes)
        barAt.emplace_back(n[0], n[1], n[2]);
    // The warping of a profile: one value per node, free only to shift as a whole.
    const auto field = [](const Points& p) {
        return [p] {
            std::vector<ScalarField::Point> corners;
            std::vector<int> nodes;
            for (size_t a = 0; a < p.size(); ++a) {
                corners.emplace_back(p[a].x(), p[a].z());
                nodes.push_back(static_cast<int>(a));
            }
            return std::unique_ptr<Element>(std::make_unique<ScalarField>(nodes, corners, 8e7));
        };
    };
    const auto constant = [](const Element& e, const Points& at) {
        return SpaceMotions(e, at, {0});
    };
    // A conical ring of a shell of revolution, off the axis: it too moves as a whole only
    // along the axis.
    const Points cone{{1.3, 0, 0.2}, {2.1, 0, 1.4}};
    const auto conical = [cone] {
        ConicalShell::Section section;
        section.E = 2e5;
        section.Nu = 0.3;
        section.Thickness = 0.05;
        section.Density = 7.85;
        return std::unique_ptr<Element>(std::make_unique<ConicalShell>(
            section, std::array<int, 2>{0, 1},
            std::array<std::array<double, 2>, 2>{std::array<double, 2>{cone[0].x(), cone[0].z()},
                                                 std::array<double, 2>{cone[1].x(), cone[1].z()}}));
    };
    return {
        {QStringLiteral("conical shell"), conical, cone, axialMotion},
        {QStringLiteral("field triangle"), field(triangle), triangle, constant},
        {QStringLiteral("field quadrilateral"), field(quad), quad, constant},
        {QStringLiteral("space truss bar"),
         [this] {
             return std::unique_ptr<Element>(std::make_unique<BarElement>(bars_, bars_.Bars[1]));
         },
         barAt,
         [](const Element& e, const Points& at) {
             return SpaceMotions(e, at, {0, 1, 2, 3, 4, 5});
         },
         11},
        {QStringLiteral("space frame bar"),
         [this] {
             return std::unique_ptr<Element>(std::make_unique<BarElement>(bars_, bars_.Bars[0]));
         },
         barAt,
         [](const Element& e, const Points& at) {
             return SpaceMotions(e, at, {0, 1, 2, 3, 4, 5});
         }},
        {QStringLiteral("shaft element"), shaft(0), shaftAt, shaftMotions},
        {QStringLiteral("shaft element, ends reversed"), shaft(1), shaftAt, shaftMotions},
        {QStringLiteral("plane triangle"), tri(plane_, triangle), triangle, planeMotions},
        {QStringLiteral("plane quadrilateral"), quad4(plane_, quad), quad, planeMotions},
        {QStringLiteral("plane strain triangle"), tri(strain_, triangle), triangle, planeMotions},
        {QStringLiteral("plane strain quadrilateral"), quad4(strain_, quad), quad, planeMotions},
        {QStringLiteral("ring triangle"), tri(ring_, ringTriangle), ringTriangle, axialMotion},
        {QStringLiteral("ring quadrilateral"), quad4(ring_, ringQuad), ringQuad, axialMotion},
    };
}

std::vector<TestElementProperties::Kind> TestElementProperties::SurfaceKinds() {
    // Plates in the x-y plane, the same shapes; shells turned into a skew plane in space.
    const Points plateTriangle{{0.2, 0.1, 0}, {2.3, 0.6, 0}, {0.9, 1.8, 0}};
    const Points plateQuad{{0.1, 0.2, 0}, {2.2, -0.1, 0}, {2.6, 1.7, 0}, {0.4, 1.3, 0}};
    const Points plateClockwise{plateQuad[3], plateQuad[2], plateQuad[1], plateQuad[0]};
    const Eigen::Matrix3d turn = (Eigen::AngleAxisd(0.7, Eigen::Vector3d(1, -2, 0.5).normalized()) *
                                  Eigen::AngleAxisd(-0.4, Eigen::Vector3d::UnitZ()))
                                     .toRotationMatrix();
    Points shellTriangle, shellQuad;
    for (const auto& p : plateTriangle)
        shellTriangle.push_back(turn * p + Eigen::Vector3d(0.3, -1.1, 0.8));
    for (const auto& p : plateQuad)
        shellQuad.push_back(turn * p + Eigen::Vector3d(0.3, -1.1, 0.8));
    // A warped quadrilateral: its corners alternately above and below their mean plane.
    Points warped;
    for (size_t a = 0; a < 4; ++a)
        warped.push_back(turn * (plateQuad[a] + Eigen::Vector3d(0, 0, a % 2 ? -0.15 : 0.15)));
    const auto plan = [](const Points& p, size_t a) {
        return std::array<double, 2>{p[a].x(), p[a].y()};
    };
    const auto plateMotions = [](const Element& e, const Points& at) {
        return SpaceMotions(e, at, {2, 3, 4}); // uz and the turns about x and y
    };
    const auto spaceMotions = [](const Element& e, const Points& at) {
        return SpaceMotions(e, at, {0, 1, 2, 3, 4, 5});
    };
    const auto plate3 = [this, plan](const Points& p) {
        return [this, p, plan] {
            return std::unique_ptr<Element>(std::make_unique<PlateTriangle>(
                shell_, std::array<int, 3>{0, 1, 2},
                std::array<std::array<double, 2>, 3>{plan(p, 0), plan(p, 1), plan(p, 2)}));
        };
    };
    const auto plate4 = [this, plan](const Points& p) {
        return [this, p, plan] {
            return std::unique_ptr<Element>(
                std::make_unique<PlateQuad>(shell_, std::array<int, 4>{0, 1, 2, 3},
                                            std::array<std::array<double, 2>, 4>{
                                                plan(p, 0), plan(p, 1), plan(p, 2), plan(p, 3)}));
        };
    };
    const auto shell3 = [this](const Points& p) {
        return [this, p] {
            return std::unique_ptr<Element>(
                std::make_unique<ShellTriangle>(shell_, std::array<int, 3>{0, 1, 2},
                                                std::array<Eigen::Vector3d, 3>{p[0], p[1], p[2]}));
        };
    };
    const auto shell4 = [this](const Points& p) {
        return [this, p] {
            return std::unique_ptr<Element>(std::make_unique<ShellQuad>(
                shell_, std::array<int, 4>{0, 1, 2, 3},
                std::array<Eigen::Vector3d, 4>{p[0], p[1], p[2], p[3]}));
        };
    };
    return {
        {QStringLiteral("plate triangle"), plate3(plateTriangle), plateTriangle, plateMotions},
        {QStringLiteral("plate quadrilateral"), plate4(plateQuad), plateQuad, plateMotions},
        // Corners running clockwise make the same element.
        {QStringLiteral("plate quadrilateral, clockwise"), plate4(plateClockwise), plateClockwise,
         plateMotions},
        {QStringLiteral("shell triangle"), shell3(shellTriangle), shellTriangle, spaceMotions},
        {QStringLiteral("shell quadrilateral"), shell4(shellQuad), shellQuad, spaceMotions},
        {QStringLiteral("shell quadrilateral, warped"), shell4(warped), warped, spaceMotions},
    };
}

std::vector<TestElementProperties::Kind> TestElementProperties::SolidKinds() {
    // Distorted: warped faces, no edge parallel to another.
    const Points brick{{0.1, 0, 0.05}, {2.1, 0.2, 0},  {2.3, 1.2, 0.1}, {-0.1, 1, 0},
                       {0, 0.1, 1.4},  {2, -0.1, 1.6}, {2.2, 1.1, 1.5}, {0.2, 0.9, 1.3}};
    // Numbered the other way round: the element turns its order and is the same solid.
    const Points brickMirrored{brick[4], brick[5], brick[6], brick[7],
                               brick[0], brick[1], brick[2], brick[3]};
    const Points wedge{{0, 0, 0},     {1.2, 0.1, 0}, {0.1, 0.9, 0.1},
                       {0.1, 0, 1.1}, {1.1, 0, 1.2}, {0, 1.1, 0.9}};
    const Points tetrahedron{{0.1, 0, 0}, {1.3, 0.1, 0.2}, {0.2, 1, 0}, {0.2, 0.3, 0.9}};
    const auto solid = [this](const Points& p) {
        return [this, p] {
            std::vector<int> nodes(p.size());
            for (size_t a = 0; a < p.size(); ++a)
                nodes[a] = static_cast<int>(a);
            return std::unique_ptr<Element>(SolidElement::Make(solid_, nodes, p));
        };
    };
    // The rigid motions at the corners in the order the element keeps them.
    const auto spaceMotions = [](const Element& e, const Points& at) {
        Points kept;
        for (int n : e.Nodes())
            kept.push_back(at[static_cast<size_t>(n)]);
        return SpaceMotions(e, kept, {0, 1, 2, 3, 4, 5});
    };
    return {
        {QStringLiteral("solid brick"), solid(brick), brick, spaceMotions},
        {QStringLiteral("solid brick, mirrored"), solid(brickMirrored), brickMirrored,
         spaceMotions},
        {QStringLiteral("solid wedge"), solid(wedge), wedge, spaceMotions},
        {QStringLiteral("solid tetrahedron"), solid(tetrahedron), tetrahedron, spaceMotions},
    };
}

void TestElementProperties::stiffnessIsSymmetricWithRigidNullSpace() {
    for (const Kind& kind : All()) {
        const std::unique_ptr<Element> element = kind.Make();
        const Eigen::MatrixXd k = element->Stiffness();
        const double scale = k.cwiseAbs().maxCoeff();
        QVERIFY2((k - k.transpose()).cwiseAbs().maxCoeff() <= 1e-12 * scale, qPrintable(kind.Name));
        // The extended-precision forms say the same: the stiffness, and the forces the element
        // forms itself for a motion of all its unknowns but the last, which has no equation.
        QVERIFY2((element->ExtendedStiffness().cast<double>() - k).cwiseAbs().maxCoeff() <=
                     1e-14 * scale,
                 qPrintable(kind.Name));
        const auto size = static_cast<Eigen::Index>(element->Size());
        std::vector<int> equations(static_cast<size_t>(size));
        std::iota(equations.begin(), equations.end(), 0);
        equations.back() = -1;
        const Element::ExtendedVector u =
            Element::ExtendedVector::LinSpaced(size, 0.5L, -1.5L)
                .cwiseProduct(Element::ExtendedVector::LinSpaced(size, 1.0L, 2.0L));
        Element::ExtendedVector forces = Element::ExtendedVector::Zero(size);
        element->AddExtendedProduct(u, equations, forces);
        Eigen::VectorXd held = u.cast<double>();
        held[size - 1] = 0;
        Eigen::VectorXd product = k * held;
        product[size - 1] = 0;
        QVERIFY2((forces.cast<double>() - product).cwiseAbs().maxCoeff() <= 2e-12 * scale,
                 qPrintable(kind.Name + QStringLiteral(": the element's own forces differ")));
        const Eigen::MatrixXd rigid = kind.Rigid(*element, kind.At);
        QVERIFY2((k * rigid).cwiseAbs().maxCoeff() <=
                     1e-10 * scale * (1 + rigid.cwiseAbs().maxCoeff()),
                 qPrintable(kind.Name + QStringLiteral(": a rigid motion strains the element")));
        // No other motion is free: exactly as many zero eigenvalues as rigid motions.
        const Eigen::VectorXd values =
            Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(k).eigenvalues();
        int zeros = 0;
        for (double v : values)
            zeros += std::abs(v) <= 1e-9 * values.cwiseAbs().maxCoeff() ? 1 : 0;
        const auto expected =
            kind.Free >= 0 ? kind.Free : Eigen::FullPivLU<Eigen::MatrixXd>(rigid).rank();
        QVERIFY2(zeros == expected,
                 qPrintable(kind.Name + QStringLiteral(": %1 zero-energy modes, %2 rigid motions")
                                            .arg(zeros)
                                            .arg(expected)));
        // Its results are the columns its layout describes, each titled.
        const ResultLayout layout = element->Layout();
        const Element::Results results = element->Recover(Element::Vector::Zero(element->Size()));
        QVERIFY2(results.size() == 0 || results.cols() == layout.Count(), qPrintable(kind.Name));
        for (const ResultColumn& column : layout.Columns)
            QVERIFY2(!column.Name.isEmpty() && !column.Title.isEmpty() &&
                         column.What != ResultColumn::Quantity::None,
                     qPrintable(kind.Name));
    }
}

void TestElementProperties::massAddsUpToTheElement() {
    for (const Kind& kind : All()) {
        const std::unique_ptr<Element> element = kind.Make();
        if (element->TotalMass() == 0)
            continue; // a field of no mass (the warping of a profile)
        // A unit translation in each component the element has moves its whole mass.
        const auto components = element->Components();
        const Eigen::MatrixXd m = element->Mass();
        for (size_t c = 0; c < components.size(); ++c) {
            if (components[c] >= 3)
                continue; // a turn of the nodes is no motion of the mass as a whole
            Eigen::VectorXd t = Eigen::VectorXd::Zero(element->Size());
            for (size_t a = 0; a < element->Nodes().size(); ++a)
                t(static_cast<Eigen::Index>(a * components.size() + c)) = 1;
            const double moved = t.dot(m * t);
            QVERIFY2(
                std::abs(moved - element->TotalMass()) <= 1e-12 * element->TotalMass(),
                qPrintable(kind.Name +
                           QStringLiteral(": %1 against %2").arg(moved).arg(element->TotalMass())));
        }
    }
}

void TestElementProperties::geometricStiffnessIsSymmetricAndTranslationFree() {
    int kinds = 0;
    for (const Kind& kind : All()) {
        const std::unique_ptr<Element> element = kind.Make();
        // An even shortening u = -e p in every direction: a bar is compressed along itself.
        const auto components = element->Components();
        Element::Vector u = Element::Vector::Zero(element->Size());
        for (size_t a = 0; a < kind.At.size(); ++a)
            for (size_t c = 0; c < components.size(); ++c)
                if (components[c] < 3)
                    u(static_cast<Eigen::Index>(a * components.size() + c)) =
                        -1e-3 * kind.At[a](components[c]);
        const Eigen::MatrixXd kg = element->GeometricStiffness(u);
        const double scale = kg.cwiseAbs().maxCoeff();
        if (scale == 0)
            continue; // no geometric stiffness of its own
        ++kinds;
        QVERIFY2((kg - kg.transpose()).cwiseAbs().maxCoeff() <= 1e-12 * scale,
                 qPrintable(kind.Name));
        // Moving as a whole does no work against the stresses; turning does.
        const Eigen::MatrixXd translations = SpaceMotions(*element, kind.At, {0, 1, 2});
        QVERIFY2((kg * translations).cwiseAbs().maxCoeff() <= 1e-12 * scale,
                 qPrintable(kind.Name + QStringLiteral(": a translation does work")));
    }
    QVERIFY2(kinds >= 2, "the bars have a geometric stiffness");
}

namespace {

// A heated continuum element's kind of body, which decides its free motion and the closed
// forms of its stresses held.
enum class Body { PlaneStress, PlaneStrain, Ring, Solid, Plate, Shell, Cone, None };

Body BodyOf(const Element& e) {
    if (dynamic_cast<const ConicalShell*>(&e))
        return Body::Cone;
    if (dynamic_cast<const SolidElement*>(&e))
        return Body::Solid;
    if (dynamic_cast<const PlateElement<3>*>(&e) || dynamic_cast<const PlateElement<4>*>(&e))
        return Body::Plate;
    if (dynamic_cast<const ShellElement<3>*>(&e) || dynamic_cast<const ShellElement<4>*>(&e))
        return Body::Shell;
    if (!dynamic_cast<const PlaneTriangle*>(&e) && !dynamic_cast<const PlaneQuad*>(&e))
        return Body::None;
    const ResultLayout layout = e.Layout();
    if (layout.Columns[0].Name == QStringLiteral("sr"))
        return Body::Ring;
    return layout.Count() == 4 ? Body::PlaneStrain : Body::PlaneStress;
}

// The displacements of a shell element's corners whose projections on its plane move as
// `local` says (per corner ux uy uz rx ry rz in its own axes).
Element::Vector ShellCorners(const Element& element, const Element::Vector& local) {
    const auto size = static_cast<Eigen::Index>(element.Size());
    Eigen::MatrixXd turn(size, size);
    for (Eigen::Index i = 0; i < size; ++i) {
        const auto toLocal = [&element](const Element::Vector& u) {
            if (const auto* s3 = dynamic_cast<const ShellElement<3>*>(&element))
                return s3->ToLocal(u);
            return dynamic_cast<const ShellElement<4>&>(element).ToLocal(u);
        };
        turn.col(i) = toLocal(Element::Vector::Unit(size, i));
    }
    return turn.partialPivLu().solve(Eigen::VectorXd(local));
}

} // namespace

// A change of temperature T (alpha T = 3.6e-4) and a difference Across = 20 over the faces.
// Free, every element moves as its material expands without a stress: u = alpha T x in the
// plane or in space (in plane strain (1 + nu) alpha T x, held across the plane by
// sy = -E alpha T alone), a plate curved alpha Across / t both ways (w = -alpha Across (x^2 + y^2)
// / 2t, hogging under its warmer top); K u is the heat's loads and the results less the
// heat's are nought. Held, its stresses are those of the free strain taken back:
//   a solid, a body of revolution and plane strain, hydrostatic: s = -E alpha T / (1 - 2 nu);
//   plane stress and a shell's membrane: s = -E alpha T / (1 - nu), n = t s;
//   a plate: m = D (1 + nu) alpha Across / t, positive as it stretches the cooler bottom;
//   a shell's faces: s = -E alpha (T +- Across / 2) / (1 - nu), the top the warmer;
//   a shell of revolution: Ms = Mt = -D (1 + nu) alpha Across / t, the face on n warmer.
// A force per volume g has loads that add up to g times the element's volume (per radian).
void TestElementProperties::heatAndWeightOfTheContinuumElements() {
    constexpr double e = 2e5, nu = 0.3, alpha = 1.2e-5, change = 30, across = 20;
    int checked = 0;
    for (const Kind& kind : All()) {
        const std::unique_ptr<Element> element = kind.Make();
        const Body body = BodyOf(*element);
        if (body == Body::None)
            continue;
        ++checked;
        const QString name = kind.Name;
        const auto nodes = element->Nodes();
        const auto components = element->Components();
        const auto nc = static_cast<Eigen::Index>(components.size());
        const double t = body == Body::Cone ? 0.05 : 0.2;
        const double rigidity = e * t * t * t / (12 * (1 - nu * nu));
        const double hydrostatic = -e * alpha * change / (1 - 2 * nu);
        const double plane = -e * alpha * change / (1 - nu);
        const double moment = rigidity * (1 + nu) * alpha * across / t;

        // Free: a uniform change, and a difference across for plates and flat shells (a shell
        // of revolution curved both ways is no free state of a cone).
        Element::Heat heat;
        heat.Alpha = alpha;
        heat.Change.fill(body == Body::Plate ? 0.0 : change);
        heat.Across = body == Body::Cone ? 0.0 : across;
        const double kappa = alpha * heat.Across / t;
        const double stretch = alpha * change * (body == Body::PlaneStrain ? 1 + nu : 1);
        Element::Vector u = Element::Vector::Zero(element->Size());
        for (Eigen::Index a = 0; a < static_cast<Eigen::Index>(nodes.size()); ++a) {
            const Eigen::Vector3d& p = kind.At[static_cast<size_t>(nodes[static_cast<size_t>(a)])];
            for (Eigen::Index c = 0; c < nc; ++c)
                if (components[static_cast<size_t>(c)] < 3 && body != Body::Plate)
                    u(a * nc + c) = stretch * p(components[static_cast<size_t>(c)]);
            if (body == Body::Plate)
                u.segment<3>(3 * a) << -kappa * (p.x() * p.x() + p.y() * p.y()) / 2, -kappa * p.y(),
                    kappa * p.x();
        }
        if (body == Body::Shell) {
            Element::Vector free = Element::Vector::Zero(element->Size());
            for (size_t a = 0; a < nodes.size(); ++a) {
                const std::array<double, 2> xy =
                    nodes.size() == 3 ? dynamic_cast<const ShellElement<3>&>(*element).Local()[a]
                                      : dynamic_cast<const ShellElement<4>&>(*element).Local()[a];
                const double x = xy[0], y = xy[1];
                free.segment<6>(6 * static_cast<Eigen::Index>(a)) << alpha * change * x,
                    alpha * change * y, -kappa * (x * x + y * y) / 2, -kappa * y, kappa * x, 0;
            }
            u = ShellCorners(*element, free);
        }
        const Element::Vector loads = element->HeatLoads(heat);
        const double loadScale = loads.cwiseAbs().maxCoeff();
        QVERIFY2(loadScale > 0, qPrintable(name + QStringLiteral(": no heat loads")));
        QVERIFY2((element->Stiffness() * u - loads).cwiseAbs().maxCoeff() <= 1e-9 * loadScale,
                 qPrintable(name + QStringLiteral(": K u is not the heat's loads")));
        Element::Results own = element->HeatResults(heat);
        const double scale = own.cwiseAbs().maxCoeff();
        Element::Results samples = element->HeatSamples(heat);
        if (body == Body::PlaneStrain) { // what holds it across the plane
            own.col(3).array() -= e * alpha * change;
            samples.col(3).array() -= e * alpha * change;
        }
        QVERIFY2(own.rows() == element->Recover(u).rows(), qPrintable(name));
        // Von Mises' stress is the root of a difference of squares: of a hydrostatic stress it
        // is nought within the square root of the rounding.
        Element::Results free = element->Recover(u) - own;
        if (body == Body::Solid)
            free.col(9) *= 1e-3;
        QVERIFY2(free.cwiseAbs().maxCoeff() <= 1e-9 * scale,
                 qPrintable(name + QStringLiteral(": the free element is stressed")));
        const Element::Sampled sampled = element->Sample(u);
        QVERIFY2(samples.rows() == sampled.Values.rows(), qPrintable(name));
        if (samples.size() > 0)
            QVERIFY2((sampled.Values - samples).cwiseAbs().maxCoeff() <= 1e-9 * scale,
                     qPrintable(name + QStringLiteral(": the free element's samples")));
        if (body == Body::Cone) {
            const std::array<double, 10> ends =
                dynamic_cast<const ConicalShell&>(*element).EndForces(u, loads, &heat);
            for (double f : ends)
                QVERIFY2(std::abs(f) <= 1e-9 * scale, qPrintable(name + QStringLiteral(": ends")));
        }

        // Held: a uniform change and a difference across, the closed forms at every row.
        heat.Change.fill(change);
        heat.Across = across;
        std::vector<double> expected;
        switch (body) {
        case Body::PlaneStress:
            expected = {plane, plane, 0};
            break;
        case Body::PlaneStrain:
        case Body::Ring:
            expected = {hydrostatic, hydrostatic, 0, hydrostatic};
            break;
        case Body::Solid:
            expected = {hydrostatic, hydrostatic, hydrostatic, 0,           0,
                        0,           hydrostatic, hydrostatic, hydrostatic, 0};
            break;
        case Body::Plate:
            expected = {moment, moment, 0, 0, 0};
            break;
        case Body::Shell: {
            const double top = -e * alpha * (change + across / 2) / (1 - nu);
            const double bottom = -e * alpha * (change - across / 2) / (1 - nu);
            expected = {t * plane, t * plane, 0, moment, moment, 0, top, top, 0, bottom, bottom, 0};
            break;
        }
        default:
            expected = {t * plane, t * plane, -moment, -moment, 0};
            break;
        }
        const Element::Vector held = Element::Vector::Zero(element->Size());
        for (const Element::Results& block :
             {Element::Results(element->Recover(held) - element->HeatResults(heat)),
              Element::Results(element->Sample(held).Values - element->HeatSamples(heat))}) {
            for (Eigen::Index r = 0; r < block.rows(); ++r) {
                QVERIFY2(block.cols() == static_cast<Eigen::Index>(expected.size()),
                         qPrintable(name));
                for (Eigen::Index c = 0; c < block.cols(); ++c) {
                    const double want = expected[static_cast<size_t>(c)];
                    const double within =
                        (body == Body::Solid && c == 9 ? 1e-7 : 1e-9) * std::abs(plane) * (1 + t);
                    QVERIFY2(std::abs(block(r, c) - want) <= within,
                             qPrintable(name + QStringLiteral(": held, row %1 column %2: %3 "
                                                              "against %4")
                                                   .arg(r)
                                                   .arg(c)
                                                   .arg(block(r, c))
                                                   .arg(want)));
                }
            }
        }

        // The weight: each component's loads add up to g times the volume.
        const std::array<double, 3> g{0.3, -0.7, -1.1};
        const Element::Vector weight = element->VolumeLoads(g);
        const double volume = element->TotalMass() / 7.85;
        for (Eigen::Index c = 0; c < nc; ++c) {
            const int component = components[static_cast<size_t>(c)];
            if (component >= 3)
                continue;
            double sum = 0;
            for (Eigen::Index a = 0; a < static_cast<Eigen::Index>(nodes.size()); ++a)
                sum += weight(a * nc + c);
            const double want = g[static_cast<size_t>(component)] * volume;
            QVERIFY2(
                std::abs(sum - want) <= 1e-12 * volume,
                qPrintable(name + QStringLiteral(": weight %1 against %2").arg(sum).arg(want)));
        }
    }
    QCOMPARE(checked, 17);

    // A held cylinder warmer on its outer face: its ends give Ms = Mt = -D (1 + nu) alpha
    // Across / t from the equilibrium of its nodes and the hoop's strain less the heat's.
    ConicalShell::Section wall;
    wall.E = e;
    wall.Nu = nu;
    wall.Thickness = 0.05;
    const ConicalShell cylinder(wall, {0, 1}, {std::array<double, 2>{1.5, 0.2}, {1.5, 1.1}});
    Element::Heat warmer;
    warmer.Alpha = alpha;
    warmer.Across = across;
    const double held = -e * std::pow(0.05, 2) / (12 * (1 - nu)) * alpha * across;
    const std::array<double, 10> ends =
        cylinder.EndForces(Element::Vector::Zero(6), cylinder.HeatLoads(warmer), &warmer);
    for (size_t c = 0; c < ends.size(); ++c)
        QVERIFY2(
            std::abs(ends[c] - (c % 5 == 2 || c % 5 == 3 ? held : 0.0)) <= 1e-9 * std::abs(held),
            qPrintable(
                QStringLiteral("cylinder end %1: %2 against %3").arg(c).arg(ends[c]).arg(held)));

    // A change linear in space, T = g . x, leaves a free body unstressed too, moving it by
    // u = alpha ((g . x) x - |x|^2 g / 2) (in plane strain (1 + nu) times that in the plane).
    // Its quadratic terms are what the incompatible modes of a rectangle and a box add, so the
    // heat's share on the modes, condensed out, must give that motion, and its stresses,
    // exactly. (Not in a body of revolution, whose modes' strains are scaled by r0 / r.)
    const auto linearly = [alpha, nu](const Element& element, const Points& at,
                                      const Eigen::Vector3d& g) {
        Element::Heat heat;
        heat.Alpha = alpha;
        const auto components = element.Components();
        const auto nc = static_cast<Eigen::Index>(components.size());
        Element::Vector u = Element::Vector::Zero(element.Size());
        for (size_t a = 0; a < at.size(); ++a) {
            const Eigen::Vector3d& p = at[static_cast<size_t>(element.Nodes()[a])];
            heat.Change[a] = g.dot(p);
            const Eigen::Vector3d moved = alpha * (g.dot(p) * p - p.squaredNorm() / 2 * g) *
                                          (element.Layout().Count() == 4 ? 1 + nu : 1);
            for (Eigen::Index c = 0; c < nc; ++c)
                u(static_cast<Eigen::Index>(a) * nc + c) =
                    moved(components[static_cast<size_t>(c)]);
        }
        const Element::Vector loads = element.HeatLoads(heat);
        Element::Results free = element.Recover(u) - element.HeatResults(heat);
        const Element::Results samples = element.HeatSamples(heat);
        Element::Results sampled =
            samples.size() > 0 ? Element::Results(element.Sample(u).Values - samples) : samples;
        if (free.cols() == 4) { // plane strain's sy = -E alpha T, held across, is checked above
            free.col(3).setZero();
            if (sampled.size() > 0)
                sampled.col(3).setZero();
        }
        if (free.cols() == 10)
            free.col(9) *= 1e-3; // von Mises' rounding, as above
        return (element.Stiffness() * u - loads).cwiseAbs().maxCoeff() <=
                   1e-9 * loads.cwiseAbs().maxCoeff() &&
               free.cwiseAbs().maxCoeff() <= 1e-9 * e * alpha * 20 &&
               (sampled.size() == 0 || sampled.cwiseAbs().maxCoeff() <= 1e-9 * e * alpha * 20);
    };
    const Points rectangle{{0.3, 0, 0.1}, {2.3, 0, 0.1}, {2.3, 0, 1.6}, {0.3, 0, 1.6}};
    const auto quad = [](const PlaneSolid& solid, const Points& p) {
        return PlaneQuad(solid, {0, 1, 2, 3},
                         {std::array<double, 2>{p[0].x(), p[0].z()},
                          {p[1].x(), p[1].z()},
                          {p[2].x(), p[2].z()},
                          {p[3].x(), p[3].z()}});
    };
    QVERIFY2(linearly(quad(plane_, rectangle), rectangle, {7, 0, -4}), "plane stress");
    QVERIFY2(linearly(quad(strain_, rectangle), rectangle, {-3, 0, 5}), "plane strain");
    Points box;
    for (double z : {0.2, 1.4})
        for (const auto& [x, y] : std::vector<std::pair<double, double>>{
                 {-0.1, 0.3}, {1.9, 0.3}, {1.9, 1.5}, {-0.1, 1.5}})
            box.emplace_back(x, y, z);
    const std::unique_ptr<SolidElement> brick =
        SolidElement::Make(solid_, std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}, box);
    QVERIFY2(linearly(*brick, box, {7, 3, -4}), "a brick");
}

// A plate's Winkler foundation of modulus k: an even settlement w = 1 of the element (its
// corners' w, not their turns) is held by k times its area, whether the plate's elements are
// made alone or by the family for a mesh; a shell has none.
void TestElementProperties::plateFoundationCarriesItsArea() {
    const double k = 3.5e4;
    const auto settled = [k](const Element& foundation, double area, const QString& name) {
        const Eigen::MatrixXd s = foundation.Stiffness();
        const auto n = static_cast<Eigen::Index>(foundation.Nodes().size());
        QVERIFY2(foundation.Components().size() == 3 && s.rows() == 3 * n, qPrintable(name));
        QVERIFY2((s - s.transpose()).cwiseAbs().maxCoeff() == 0, qPrintable(name));
        Eigen::VectorXd w = Eigen::VectorXd::Zero(3 * n);
        for (Eigen::Index a = 0; a < n; ++a)
            w(3 * a) = 1;
        QVERIFY2(
            std::abs(w.dot(s * w) - k * area) <= 1e-12 * k * area,
            qPrintable(name + QStringLiteral(": %1 against %2").arg(w.dot(s * w)).arg(k * area)));
        // Every corner takes a share, and no deflection is free of the ground.
        const Eigen::MatrixXd onW = s(Eigen::seq(0, 3 * n - 1, 3), Eigen::seq(0, 3 * n - 1, 3));
        QVERIFY2(Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(onW).eigenvalues().minCoeff() > 0,
                 qPrintable(name));
    };
    for (const Kind& kind : SurfaceKinds()) {
        const std::unique_ptr<Element> plate = kind.Make();
        if (plate->Components()[0] != 2)
            continue; // a shell
        std::vector<std::array<double, 2>> corners;
        for (int node : plate->Nodes())
            corners.push_back(
                {kind.At[static_cast<size_t>(node)].x(), kind.At[static_cast<size_t>(node)].y()});
        settled(PlateFoundation(plate->Nodes(), corners, k), plate->TotalMass() / (7.85 * 0.2),
                kind.Name);
    }
    // A plate of 1 by 4 in eight elements: each rests on k times its half.
    const MeshModel model = MeshPanels::Grid(ProblemType::Mesh::Plate, 2);
    SurfaceFamily plates(true);
    QStringList warnings;
    plates.Build(model, warnings);
    for (size_t e = 0; e < model.Cells.size(); ++e)
        settled(*plates.Foundation(e, k), 0.5, QStringLiteral("a mesh's plate"));
    SurfaceFamily shells(false);
    shells.Build(MeshPanels::Grid(ProblemType::Mesh::Shell, 1), warnings);
    QVERIFY(!shells.Foundation(0, k));
}

namespace {

// An element kind the package does not have, written here through the public interface alone:
// the constant-strain triangle in closed form (B = [dN/dx 0; 0 dN/dz; dN/dz dN/dx] / 2A), which
// also reports the von Mises stress of its plane stress state.
class ClosedFormTriangle final : public Element {
public:
    ClosedFormTriangle(const PlaneSolid& solid, std::span<const int> corners,
                       const MeshModel& model)
        : solid_(&solid) {
        std::array<std::array<double, 2>, 3> p;
        for (size_t a = 0; a < 3; ++a) {
            nodes_[a] = corners[a];
            p[a] = model.Plan(corners[a]);
        }
        area_ = ((p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) -
                 (p[2][0] - p[0][0]) * (p[1][1] - p[0][1])) /
                2;
        for (size_t a = 0; a < 3; ++a) {
            const auto& j = p[(a + 1) % 3];
            const auto& k = p[(a + 2) % 3];
            const double dx = (j[1] - k[1]) / (2 * area_), dz = (k[0] - j[0]) / (2 * area_);
            const auto c = static_cast<Eigen::Index>(2 * a);
            b_(0, c) = dx;
            b_(1, c + 1) = dz;
            b_(2, c) = dz;
            b_(2, c + 1) = dx;
        }
        centre_ = {(p[0][0] + p[1][0] + p[2][0]) / 3, (p[0][1] + p[1][1] + p[2][1]) / 3};
    }

    std::span<const int> Nodes() const override { return nodes_; }
    std::span<const int> Components() const override { return PlaneSolid::Components; }
    Matrix Stiffness() const override {
        const Eigen::Matrix3d d = solid_->D;
        return solid_->Thickness * area_ * b_.transpose() * d * b_;
    }
    Results Recover(const Vector& u) const override {
        const Eigen::Vector3d s = Eigen::Matrix3d(solid_->D) * (b_ * u);
        const double mises = std::sqrt(s[0] * s[0] - s[0] * s[1] + s[1] * s[1] + 3 * s[2] * s[2]);
        Results rows(4, 4); // the centre, then the corners: the same constant stress
        for (Eigen::Index r = 0; r < 4; ++r)
            rows.row(r) << s[0], s[1], s[2], mises;
        return rows;
    }
    Sampled Sample(const Vector& u) const override {
        Sampled sampled;
        sampled.At.resize(1, 2);
        sampled.At << centre_[0], centre_[1];
        sampled.Values = Recover(u).topRows(1);
        return sampled;
    }
    ResultLayout Layout() const override {
        constexpr auto stress = ResultColumn::Quantity::Stress;
        return {{{"sx", "Stress sx", stress},
                 {"sz", "Stress sz", stress},
                 {"txz", "Shear stress txz", stress},
                 {"svm", "Von Mises stress", stress}}};
    }

private:
    const PlaneSolid* solid_;
    std::array<int, 3> nodes_{};
    Eigen::Matrix<double, 3, 6> b_ = Eigen::Matrix<double, 3, 6>::Zero();
    double area_ = 0;
    std::array<double, 2> centre_{};
};

std::unique_ptr<Element> MakeClosedFormTriangle(const PlaneSolid& solid, const MeshModel& model,
                                                std::span<const int> corners) {
    return std::make_unique<ClosedFormTriangle>(solid, corners, model);
}

} // namespace

// A new element is its own class and one row of the element kinds: this one takes the plane
// stress triangles' row and solves a patch of four distorted triangles through the whole
// statics pipeline, which must give back the even stress sx = 10 exactly, with ux = sx x / E
// and uz = -nu sx z / E at every node.
void TestElementProperties::madeUpElementSolvesThePatchThroughOneRow() {
    MeshModel model;
    model.Kind = ProblemType::Mesh::PlaneStress;
    model.Problem = 9;
    model.Components = ProblemType::Of(9).Components;
    model.Title = QStringLiteral("patch");
    model.ForceUnit = QStringLiteral("kN");
    model.LengthUnit = QStringLiteral("m");
    const double e = 2e5, nu = 0.3, t = 0.1, sx = 10;
    model.Materials.push_back({e, nu, 0});
    model.Nodes = {{0, 0, 0}, {2, 0, 0}, {2, 0, 2}, {0, 0, 2}, {0.7, 0, 0.9}};
    model.NodeLines.assign(model.Nodes.size(), 0);
    for (const std::array<int, 3>& c :
         {std::array<int, 3>{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}}) {
        MeshModel::Cell cell;
        cell.Corners.fill(-1);
        std::copy(c.begin(), c.end(), cell.Corners.begin());
        cell.Count = 3;
        cell.Thickness = t;
        cell.Line = 10 + static_cast<int>(model.Cells.size());
        model.Cells.push_back(cell);
    }
    model.Supports = {{0, {true, false, true}, 20}, {3, {true}, 21}};
    // The even stress on the edge x = 2 (height 2) as its two nodes' shares.
    model.Loads = {{1, 1, {sx * t, 0, 0}, 30}, {1, 2, {sx * t, 0, 0}, 31}};

    PlaneKinds kinds = StandardElements::Plane();
    kinds.Set({ProblemType::Mesh::PlaneStress, 3, &MakeClosedFormTriangle});
    const MeshStatics::Outcome solved = MeshStatics::Run(
        model, std::make_unique<PlaneFamily>(ProblemType::Mesh::PlaneStress, std::move(kinds)));
    const FieldResults& results = solved.Results;
    QCOMPARE(results.Columns.Columns[3].Name, QStringLiteral("svm")); // the made-up kind ran
    const int columns = results.StressCount();
    const FieldResults::Case& patch = results.Cases.at(0);
    const auto close = [](double value, double expected) {
        return std::abs(value - expected) <= 1e-12 * (1 + std::abs(expected));
    };
    for (size_t n = 0; n < model.Nodes.size(); ++n) {
        QVERIFY(close(patch.Displacements[2 * n] * e / sx, model.Nodes[n][0]));
        QVERIFY(close(patch.Displacements[2 * n + 1] * e / sx, -nu * model.Nodes[n][2]));
    }
    for (const std::vector<double>* at : {&patch.Stresses, &patch.NodeStresses}) {
        for (size_t row = 0; row < at->size() / static_cast<size_t>(columns); ++row) {
            const double* s = at->data() + row * static_cast<size_t>(columns);
            QVERIFY(close(s[0] / sx, 1) && close(s[1] / sx, 0) && close(s[2] / sx, 0));
            QVERIFY(close(s[3] / sx, 1)); // von Mises of an even tension
            QVERIFY(close(s[4] / sx, 1)); // the principal stress s1
        }
    }
}

QTEST_APPLESS_MAIN(TestElementProperties)
#include "tst_elementproperties.moc"
