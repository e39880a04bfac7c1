#include "SolverCatalogue.h"
#include "SolverCommand.h"
#include "SolverInput.h"
#include "TolvikCommand.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <optional>

// Every example and model the package ships, on the mesh it ships with, as a user meets it:
// the checker accepts it, its solver solves it and its own checks hold, the reactions carry
// the loads, and where a textbook has the answer, the answer is the textbook's.
namespace {

constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// One solved file: its tables as the solver read them and the answers of its JSON.
class Answer {
public:
    Answer(ParsedData data, QJsonObject json) : data_(std::move(data)), json_(std::move(json)) {}

    const QJsonObject& Json() const { return json_; }
    const ParsedData& Data() const { return data_; }

    // The node at these coordinates of table 4; 0 when there is none.
    int NodeAt(double x, double y, double z = 0) const {
        const ParsedTable* nodes = data_.Table(4);
        const double wanted[3] = {x, y, z};
        for (int row = 0; nodes && row < nodes->Rows(); ++row) {
            bool same = true;
            for (int c = 0; c < nodes->Width && c < 3; ++c)
                same = same && std::abs(nodes->At(row, c) - wanted[c]) < 1e-6;
            if (same)
                return row + 1;
        }
        return 0;
    }
    // Value `index` (after the leading number) of the row `number` of `key` in a load case.
    double Of(const QString& key, int number, int index, int loadCase = 1) const {
        for (const QJsonValue c : json_[QStringLiteral("cases")].toArray()) {
            if (c[QStringLiteral("case")].toInt() != loadCase)
                continue;
            for (const QJsonValue row : c[key].toArray()) {
                if (row[0].toInt() == number)
                    return row[index + 1].toDouble(NaN);
            }
        }
        return NaN;
    }
    double NodeStress(double x, double y, int index, int loadCase = 1) const {
        return Of(QStringLiteral("nodeStresses"), NodeAt(x, y), index, loadCase);
    }
    double Displacement(double x, double y, int index, int loadCase = 1) const {
        return Of(QStringLiteral("displacements"), NodeAt(x, y), index, loadCase);
    }
    double Reaction(double x, double y, int index, int loadCase = 1) const {
        return Of(QStringLiteral("reactions"), NodeAt(x, y), index, loadCase);
    }
    double Force(int element, int index, int loadCase = 1) const {
        return Of(QStringLiteral("forces"), element, index, loadCase);
    }
    double Frequency(int mode) const {
        return json_[QStringLiteral("modes")][mode - 1][QStringLiteral("frequency")].toDouble(NaN);
    }
    // Simpson's rule along the straight line from `from` to `to` over an even number of steps,
    // a node at each: the nodal stress `index` times `weight` there, integrated over the length.
    using Point = std::array<double, 3>;
    double Across(const Point& from, const Point& to, int steps, int index,
                  const std::function<double(const Point&)>& weight = {}) const {
        double sum = 0;
        for (int k = 0; k <= steps; ++k) {
            Point p;
            for (size_t c = 0; c < 3; ++c)
                p[c] = from[c] + (to[c] - from[c]) * k / steps;
            const double value =
                Of(QStringLiteral("nodeStresses"), NodeAt(p[0], p[1], p[2]), index);
            sum += (k == 0 || k == steps ? 1 : k % 2 ? 4 : 2) * value * (weight ? weight(p) : 1);
        }
        const double length = std::hypot(to[0] - from[0], to[1] - from[1], to[2] - from[2]);
        return sum * length / (3 * steps);
    }
    double At(const QString& key, int i, int j = -1) const {
        const QJsonValue value = json_[key][i];
        return (j < 0 ? value : value[j]).toDouble(NaN);
    }

private:
    ParsedData data_;
    QJsonObject json_;
};

// A figure a textbook gives, against the value the answers give for it.
struct Figure {
    QString Name;
    std::function<double(const Answer&)> Value;
    double Expected = 0;
    double Tolerance = 0; // relative; absolute (in the figure's units) where Expected is 0
};
using Figures = QList<Figure>;

// The resultant of a case's element loads along one axis, worked out by hand: a pressure times
// the area it covers, a line load times its length. For bodies and shells of revolution, per
// radian of the circumference.
struct Resultant {
    int Case = 1;
    QString Component; // "uz": the force along z
    double Total = 0;
};
using Resultants = QList<Resultant>;

// Navier's double series for a simply supported rectangle a x b under an even pressure q and a
// load p at (px, py), both downwards: the deflection (downwards) and the moments mx, my (positive
// sagging) and mxy = D (1 - nu) d2w/dxdy with w upwards, at (x, y).
struct PlateValues {
    double W = 0, Mx = 0, My = 0, Mxy = 0;
};
PlateValues Navier(double a, double b, double d, double nu, double q, double p, double px,
                   double py, double x, double y) {
    PlateValues v;
    constexpr int Terms = 400;
    for (int m = 1; m <= Terms; ++m) {
        for (int n = 1; n <= Terms; ++n) {
            const double am = m * Pi / a, bn = n * Pi / b;
            const double k = (am * am + bn * bn) * (am * am + bn * bn);
            double w = 4 * p * std::sin(am * px) * std::sin(bn * py) / (a * b * d * k);
            if (m % 2 == 1 && n % 2 == 1)
                w += 16 * q / (Pi * Pi * m * n * d * k);
            const double s = std::sin(am * x) * std::sin(bn * y);
            v.W += w * s;
            v.Mx += d * w * (am * am + nu * bn * bn) * s;
            v.My += d * w * (bn * bn + nu * am * am) * s;
            v.Mxy -= d * (1 - nu) * w * am * bn * std::cos(am * x) * std::cos(bn * y);
        }
    }
    return v;
}

double PlateRigidity(double e, double t, double nu) {
    return e * t * t * t / (12 * (1 - nu * nu));
}

// Lame's thick ring with open ends under an inner pressure p: radial displacement, radial and
// hoop stress at radius r.
struct RingValues {
    double Ur = 0, Sr = 0, St = 0;
};
RingValues Lame(double a, double b, double p, double e, double nu, double r) {
    const double c1 = p * a * a / (b * b - a * a), c2 = c1 * b * b;
    return {((1 - nu) * c1 * r + (1 + nu) * c2 / r) / e, c1 - c2 / (r * r), c1 + c2 / (r * r)};
}

// Saint-Venant's series for a rectangle with sides h <= w: the torsion constant, and the largest
// shear stress (at the middle of the long sides) under the moment t.
double RectangleJ(double h, double w) {
    double sum = 0;
    for (int n = 1; n < 60; n += 2)
        sum += std::tanh(n * Pi * w / (2 * h)) / std::pow(n, 5);
    return w * h * h * h / 3 * (1 - 192 * h / (std::pow(Pi, 5) * w) * sum);
}
double RectangleTauMax(double h, double w, double t) {
    double sum = 0;
    for (int n = 1; n < 60; n += 2)
        sum += 1 / (n * n * std::cosh(n * Pi * w / (2 * h)));
    return t / RectangleJ(h, w) * h * (1 - 8 / (Pi * Pi) * sum);
}

// A cylindrical wall of radius r standing on a circular plate, joined rigidly to it, the plate
// resting on a ring under the joint (Timoshenko and Woinowsky-Krieger, Theory of Plates and
// Shells, on cylindrical tanks): the wall as a beam on an elastic foundation, long enough that its
// top does not reach back to its foot, under an inner pressure p1 up to the height s and p2 above;
// the plate in Kirchhoff bending under q and stretched by the wall's foot. The foot moves out as
// far as the plate's edge and turns with it.
class TankJoint {
public:
    TankJoint(double e, double nu, double r, double wall, double plate, double q, double p1,
              double p2, double s)
        : e_(e), r_(r), wall_(wall), k_(e * wall / (r * r)), dw_(PlateRigidity(e, wall, nu)),
          beta_(std::pow(k_ / (4 * dw_), 0.25)), p1_(p1), p2_(p2), s_(s) {
        // The pressure's own part at the foot: the infinite wall's answer to the step at s.
        const double b = beta_, d = p1 - p2, decay = std::exp(-b * s);
        const double c = std::cos(b * s), sn = std::sin(b * s);
        l2_ = -d * b * b * decay * sn / k_;
        l3_ = d * b * b * b * decay * (c - sn) / k_;
        const double l0 = (p1 - d / 2 * decay * c) / k_, l1 = -d / 2 * b * decay * (c + sn) / k_;
        const double dp = PlateRigidity(e, plate, nu), stretch = r * (1 - nu) / (e * plate),
                     turn = r / (dp * (1 + nu));
        // The wall's w = load + exp(-b z) (c1 cos bz + c2 sin bz). At the foot w is the plate's
        // stretch under the foot's shear -Dw w''', and -w' the plate's edge slope under q and
        // the foot's moment -Dw w''.
        const double pull = 2 * stretch * dw_ * b * b * b, a11 = 1 + pull, a12 = pull;
        const double a21 = -b, a22 = b + 2 * turn * dw_ * b * b;
        const double r1 = -l0 - stretch * dw_ * l3_;
        const double r2 = -l1 - q * r * r * r / (8 * dp * (1 + nu)) + turn * dw_ * l2_;
        c1_ = (r1 * a22 - a12 * r2) / (a11 * a22 - a12 * a21);
        c2_ = (a11 * r2 - a21 * r1) / (a11 * a22 - a12 * a21);
    }
    // The plate's moment at its edge (positive sagging) and its radial tension.
    double FootMoment() const { return -dw_ * (l2_ - 2 * beta_ * beta_ * c2_); }
    double PlateTension() const { return -dw_ * (l3_ + 2 * beta_ * beta_ * beta_ * (c1_ + c2_)); }
    // The wall's hoop force at the height z above the plate.
    double Hoop(double z) const {
        const double b = beta_, y = std::abs(s_ - z), step = std::exp(-b * y) * std::cos(b * y) / 2;
        const double load = z < s_ ? p1_ - (p1_ - p2_) * step : p2_ + (p1_ - p2_) * step;
        const double foot = std::exp(-b * z) * (c1_ * std::cos(b * z) + c2_ * std::sin(b * z));
        return e_ * wall_ / r_ * (load / k_ + foot);
    }

private:
    double e_, r_, wall_, k_, dw_, beta_, p1_, p2_, s_;
    double l2_ = 0, l3_ = 0, c1_ = 0, c2_ = 0;
};

// The weight of a node's reactions and loads in a sum of forces: 1, or for bodies and shells of
// revolution the node's radius (they are per unit length of its circumference; per radian on
// the axis), so that the sum is the total over 2 pi.
double Weight(const ParsedData& data, int problem, int node) {
    if (problem != 2 && problem != 11)
        return 1;
    const double r = data.Table(4)->At(node - 1, 0);
    return r > 0 ? r : 1;
}

} // namespace

Q_DECLARE_METATYPE(Figures)
Q_DECLARE_METATYPE(Resultants)

class TestShippedModels : public QObject {
    Q_OBJECT

private slots:
    void meetsItsClosedForm_data();
    void meetsItsClosedForm();
};

void TestShippedModels::meetsItsClosedForm_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<Resultants>("elementLoads");
    QTest::addColumn<Figures>("figures");
    const auto row = [](const char* file, const Resultants& loads = {},
                        const Figures& figures = {}) {
        QTest::newRow(file) << QString::fromLatin1(file) << loads << figures;
    };

    // Examples of the manual. The arch carries 10 kN/m along its arc of R 10 m over 8 m.
    row("examples/arch.d01", {{1, "uz", -10 * 20 * std::asin(0.4)}});
    // The tank's bottom of radius 5 m under 60 kN/m2 rests on the ring at its edge; its wall
    // holds 45 kN/m2 up to 3 m and 15 above. The sagging plate turns the foot of the wall in.
    const TankJoint tank(3e7, 0.2, 5, 0.25, 0.3, 60, 45, 15, 3);
    row("examples/tank.d02", {{1, "uz", -60 * 25 / 2.0}},
        {{"ring reaction per metre", [](const Answer& a) { return a.Reaction(5, 0, 1); },
          60 * 25 / (2 * 5.0), 1e-9},
         {"plate's edge moment Msj", [](const Answer& a) { return a.Force(6, 7); },
          tank.FootMoment(), 0.002},
         {"plate's tension Nsi", [](const Answer& a) { return a.Force(1, 0); }, tank.PlateTension(),
          0.002},
         {"hoop Ntj at z = 0.5", [](const Answer& a) { return a.Force(8, 6); }, tank.Hoop(0.5),
          0.002},
         {"hoop Ntj at z = 3", [](const Answer& a) { return a.Force(14, 6); }, tank.Hoop(3),
          0.002}});
    // Method of joints: the end diagonals carry the 20 kN reactions at 2 / 2.5 of their force.
    row("examples/warren.d03", {},
        {{"bottom chord 1-2", [](const Answer& a) { return a.Force(1, 0); }, 15, 1e-9},
         {"end diagonal 1-4", [](const Answer& a) { return a.Force(3, 0); }, -25, 1e-9},
         {"top chord 4-5", [](const Answer& a) { return a.Force(7, 0); }, -15, 1e-9}});
    row("examples/tripod.d04");
    row("examples/gable.d05", {{1, "uz", -8 * 2 * std::sqrt(17.0)}},
        {{"left support, rafters' load", [](const Answer& a) { return a.Reaction(0, 0, 1); },
          8 * std::sqrt(17.0), 1e-9}});
    // Symmetric about both axes: each corner takes a quarter of 100 kN and 8 x 5 kN.
    row("examples/grid.d06", {{1, "uz", -40}},
        {{"corner reaction", [](const Answer& a) { return a.Reaction(0, 0, 0); }, 35, 1e-9}});
    row("examples/storey.d07", {{1, "uz", -15 * 20}},
        {{"column reaction", [](const Answer& a) { return a.Of("reactions", 1, 2); }, 75, 1e-9}});
    // An independent solution: consistent masses, every member cut in 8 (the second frequency
    // also from another program, members cut in 16). The manual promises 5e-5.
    row("examples/twostorey.d08", {},
        {{"first frequency", [](const Answer& a) { return a.Frequency(1); }, 3.120424, 5e-5},
         {"second frequency", [](const Answer& a) { return a.Frequency(2); }, 9.179381, 5e-5}});
    // A deep beam of span 4 m on a pin and a roller, 30 kN at the gable's apex 3 m from the pin.
    // The nodal stresses across the section at x = 1.5 m (t = 0.2 m) must carry its bending
    // moment (about mid-depth, positive when the bottom is stretched) and shear; the free
    // corner above the pin carries almost nothing.
    const auto lever = [](double middle) {
        return [middle](const Answer::Point& p) { return middle - p[1]; };
    };
    row("examples/panel.d09", {},
        {{"pin reaction", [](const Answer& a) { return a.Reaction(0, 0, 1); }, 7.5, 1e-9},
         {"roller reaction", [](const Answer& a) { return a.Reaction(4, 0, 1); }, 22.5, 1e-9},
         {"moment at x = 1.5",
          [lever](const Answer& a) {
              return 0.2 * a.Across({1.5, 0, 0}, {1.5, 2, 0}, 4, 0, lever(1));
          },
          7.5 * 1.5, 0.01},
         {"shear at x = 1.5",
          [](const Answer& a) {
              return 0.2 * a.Across({1.5, 0, 0}, {1.5, 2, 0}, 4, 2);
          },
          -7.5, 0.03},
         {"s2 at the free corner", [](const Answer& a) { return a.NodeStress(0, 2, 4); }, 0, 15}});
    // A wedge 6 m wide and 8 m high on a held foot, 80 kN at 4 m and 20 kN at the crest pushing
    // it downstream. Across the section at z = 2 m, 4.5 m wide: no normal force, the shear of
    // the loads and their moment, which stretches the upstream heel.
    const auto heel = [](const Answer::Point& p) { return p[0] - 2.25; };
    row("examples/dam.d10", {},
        {{"normal force at z = 2",
          [](const Answer& a) {
              return a.Across({0, 2, 0}, {4.5, 2, 0}, 6, 1);
          },
          0, 5},
         {"shear at z = 2",
          [](const Answer& a) {
              return a.Across({0, 2, 0}, {4.5, 2, 0}, 6, 2);
          },
          100, 0.02},
         {"moment at z = 2",
          [heel](const Answer& a) {
              return -a.Across({0, 2, 0}, {4.5, 2, 0}, 6, 1, heel);
          },
          80 * 2 + 20 * 6, 0.04}});
    // The slice of a ring 1 to 2 m under 100 kN/m2 inside: Lame's open ring.
    const auto ring = [](double r) { return Lame(1, 2, 100, 2.1e8, 0.3, r); };
    row("examples/ring.d11", {},
        {{"bore ur", [](const Answer& a) { return a.Displacement(1, 0, 0); }, ring(1).Ur, 0.002},
         {"bore sr", [](const Answer& a) { return a.NodeStress(1, 0, 0); }, ring(1).Sr, 0.04},
         {"bore st", [](const Answer& a) { return a.NodeStress(1, 0, 3); }, ring(1).St, 0.01},
         {"outer st", [](const Answer& a) { return a.NodeStress(2, 0, 3); }, ring(2).St, 0.03}});
    row("examples/shaft.d12");
    // 5 kN/m2 over 6 x 6 m and 20 kN at the centre, 8 x 8 elements. The corner has no bending
    // moments but its real twisting moment.
    const double slabD = PlateRigidity(3e7, 0.18, 0.2);
    const auto slab = [slabD](double x, double y) {
        return Navier(6, 6, slabD, 0.2, 5, 20, 3, 3, x, y);
    };
    row("examples/slab.d13", {{1, "uz", -5 * 36}},
        {{"centre deflection", [](const Answer& a) { return a.Displacement(3, 3, 0); },
          -slab(3, 3).W, 0.01},
         {"mx at (1.5, 3)", [](const Answer& a) { return a.NodeStress(1.5, 3, 0); },
          slab(1.5, 3).Mx, 0.03},
         {"my at (1.5, 3)", [](const Answer& a) { return a.NodeStress(1.5, 3, 1); },
          slab(1.5, 3).My, 0.02},
         {"mxy at (1.5, 1.5)", [](const Answer& a) { return a.NodeStress(1.5, 1.5, 2); },
          slab(1.5, 1.5).Mxy, 0.02},
         {"corner mxy", [](const Answer& a) { return a.NodeStress(0, 0, 2); }, slab(0, 0).Mxy,
          0.01},
         {"corner mx", [](const Answer& a) { return a.NodeStress(0, 0, 0); }, 0, 0.6},
         {"corner my", [](const Answer& a) { return a.NodeStress(0, 0, 1); }, 0, 0.6}});
    // 2 kN/m2 along the normals of the roof's two faces: 2 kN/m2 over its 6 x 4 m plan, plus
    // 10 kN at the ridge's end at y = 0. By statics the corners there carry 17 kN, the far ones
    // 12; across midspan y = 2 the roof, a beam spanning its corners, carries the moment
    // 2 x 17 x 2 - 10 x 2 - 24 x 1 = 24 kNm about the level of its feet: its forces ny at their
    // heights z and its moments my about each face's slope (cos = 3 / 3.231).
    const auto midspan = [](const Answer& a) {
        const Answer::Point foot{0, 2, 0}, ridge{3, 2, 1.2}, far{6, 2, 0};
        const auto height = [](const Answer::Point& p) { return -p[2]; };
        const double forces =
            a.Across(foot, ridge, 4, 1, height) + a.Across(ridge, far, 4, 1, height);
        const double moments = a.Across(foot, ridge, 4, 4) + a.Across(ridge, far, 4, 4);
        return forces + moments * 3 / std::hypot(3, 1.2);
    };
    row("examples/barrel.d14", {{1, "ux", 0}, {1, "uz", -48}},
        {{"corner Rz at y = 0", [](const Answer& a) { return a.Reaction(0, 0, 2); }, 17, 1e-9},
         {"corner Rz at y = 4", [](const Answer& a) { return a.Reaction(6, 4, 2); }, 12, 1e-9},
         {"moment across midspan", midspan, 24, 0.03}});
    // Sway buckling of a portal pinned at its feet: kL tan kL = 6 (Ib / Lb) / (Ic / Lc) = 4,
    // kL = 1.2645916. The columns' shortening lowers it by 0.11 %.
    row("examples/buckling.d15", {},
        {{"critical factor",
          [](const Answer& a) {
              return a.Json()[QStringLiteral("critical")][0][QStringLiteral("factors")][0].toDouble(
                  NaN);
          },
          1.2645916 * 1.2645916 * 2.1e8 * 3.692e-5 / (16 * 500), 0.002}});
    row("examples/rect.d16", {},
        {{"J", [](const Answer& a) { return a.Json()["torsion"]["J"].toDouble(NaN); },
          RectangleJ(0.2, 0.4), 0.001},
         {"tau max", [](const Answer& a) { return a.Json()["torsion"]["tauMax"].toDouble(NaN); },
          RectangleTauMax(0.2, 0.4, 10), 0.001}});
    row("examples/block.d17");
    row("examples/notes.d18");
    row("examples/three.d21", {},
        {{"x1", [](const Answer& a) { return a.At("x", 0, 0); }, 1, 1e-12},
         {"x3", [](const Answer& a) { return a.At("x", 0, 2); }, 3, 1e-12},
         {"second x1", [](const Answer& a) { return a.At("x", 1, 0); }, 15 / 56.0, 1e-12},
         {"determinant", [](const Answer& a) { return a.Json()["determinant"].toDouble(); }, 56,
          1e-12},
         {"residual", [](const Answer& a) { return a.At("residuals", 1, 1); }, 0, 1e-14}});
    row("examples/modes.d22", {},
        {{"lowest", [](const Answer& a) { return a.At("values", 0); }, 2 - std::sqrt(2.0), 1e-12},
         {"highest", [](const Answer& a) { return a.At("values", 2); }, 2 + std::sqrt(2.0),
          1e-12}});
    row("examples/inverse.d23", {},
        {{"determinant", [](const Answer& a) { return a.Json()["determinant"].toDouble(); }, 9,
          1e-12},
         {"inverse a11", [](const Answer& a) { return a.At("inverse", 0, 0); }, 13 / 9.0, 1e-12},
         {"product a12", [](const Answer& a) { return a.At("product", 0, 1); }, 0, 1e-12}});
    // The triangle wave's eight samples: a1 = -(2 + sqrt 2) / 2; x is given to 6 decimals.
    row("examples/wave.d24", {},
        {{"a0", [](const Answer& a) { return a.Json()["a0"].toDouble(); }, 2, 1e-6},
         {"a1", [](const Answer& a) { return a.At("a", 0); }, -(2 + std::sqrt(2.0)) / 2, 1e-6},
         {"a3", [](const Answer& a) { return a.At("a", 2); }, -(2 - std::sqrt(2.0)) / 2, 1e-5},
         {"b1", [](const Answer& a) { return a.At("b", 0); }, 0, 1e-6}});
    // Wallis's cubic.
    row("examples/cubic.d25", {},
        {{"root", [](const Answer& a) { return a.At("roots", 0); }, 2.0945514815423265, 1e-8}});
    row("examples/oscillator.d26", {},
        {{"y at the end",
          [](const Answer& a) { return a.Json()["y"].toArray().last()[0].toDouble(NaN); },
          std::cos(2 * 3.14159), 1e-9},
         {"y' at the end",
          [](const Answer& a) { return a.Json()["y"].toArray().last()[1].toDouble(NaN); },
          -2 * std::sin(2 * 3.14159), 1e-6}});
    row("examples/string.d27", {},
        {{"first", [](const Answer& a) { return a.At("values", 0); }, 1, 1e-6},
         {"fourth", [](const Answer& a) { return a.At("values", 3); }, 16, 1e-6}});

    // Models. Suction of 0.8 kN/m2 on the roof's facets pulls along the chord of its section,
    // 2 x 7.7135 m, over its 24 m length.
    row("models/barrelroof.d14", {{2, "uz", 0.8 * 2 * 7.7135 * 24}, {2, "ux", 0}});
    const double floorD = PlateRigidity(3e7, 0.2, 0.2);
    const auto floor = [floorD](double q, double p, double x, double y) {
        return Navier(7.2, 5.4, floorD, 0.2, q, p, 4.95, 2.7, x, y);
    };
    row("models/floorslab.d13", {{1, "uz", -7.5 * 7.2 * 5.4}},
        {{"centre deflection", [](const Answer& a) { return a.Displacement(3.6, 2.7, 0); },
          -floor(7.5, 0, 3.6, 2.7).W, 0.005},
         {"centre mx", [](const Answer& a) { return a.NodeStress(3.6, 2.7, 0); },
          floor(7.5, 0, 3.6, 2.7).Mx, 0.01},
         {"centre my", [](const Answer& a) { return a.NodeStress(3.6, 2.7, 1); },
          floor(7.5, 0, 3.6, 2.7).My, 0.01},
         {"corner mxy", [](const Answer& a) { return a.NodeStress(0, 0, 2); },
          floor(7.5, 0, 0, 0).Mxy, 0.01},
         {"deflection under the column",
          [](const Answer& a) { return a.Displacement(4.95, 2.7, 0, 2); },
          -floor(0, 180, 4.95, 2.7).W, 0.02}});
    // Rayleigh: the bare slab's (1, 1) mode with the 2 t at the column, weighted by the mode's
    // ordinate there.
    const double rho = 25 / 9.81, modal = rho * 0.2 * 7.2 * 5.4 / 4,
                 ordinate = std::sin(Pi * 4.95 / 7.2);
    const double bare =
        Pi / 2 * (1 / (7.2 * 7.2) + 1 / (5.4 * 5.4)) * std::sqrt(floorD / (rho * 0.2));
    row("models/floorslab.p13", {},
        {{"lowest frequency", [](const Answer& a) { return a.Frequency(1); },
          bare * std::sqrt(modal / (modal + 2 * ordinate * ordinate)), 0.02}});
    row("models/gravitydam.d10");
    row("models/holeplate.d17");
    row("models/pier.d17");
    row("models/propshaft.d12");
    const auto thick = [](double r) { return Lame(0.5, 1, 1e4, 2.1e8, 0.3, r); };
    row("models/thickring.d11", {},
        {{"bore ur", [](const Answer& a) { return a.Displacement(0.5, 0, 0); }, thick(0.5).Ur,
          0.002},
         {"bore st", [](const Answer& a) { return a.NodeStress(0.5, 0, 3); }, thick(0.5).St,
          0.01}});
    // The tube 200 x 10 mm: J = pi / 2 (R^4 - r^4), its wall meshed as a polygon.
    const double tubeJ = Pi / 2 * (std::pow(0.1, 4) - std::pow(0.09, 4));
    row("models/tube.d16", {},
        {{"J", [](const Answer& a) { return a.Json()["torsion"]["J"].toDouble(NaN); }, tubeJ,
          0.005},
         {"tau max", [](const Answer& a) { return a.Json()["torsion"]["tauMax"].toDouble(NaN); },
          10 * 0.1 / tubeJ, 0.005}});
    row("models/wall.d09");
    // Water 5 m deep on the bottom of radius 6 m, per radian.
    row("models/watertank.d02", {{1, "uz", -50 * 36 / 2.0}});
}

void TestShippedModels::meetsItsClosedForm() {
    QFETCH(QString, file);
    QFETCH(Resultants, elementLoads);
    QFETCH(Figures, figures);
    QTemporaryDir work;
    const QString name = file.section(u'/', -1);
    const QString path = work.filePath(name);
    QVERIFY(QFile::copy(QStringLiteral(PACKAGE_SOURCE "/") + file, path));

    const TolvikCommand::Outcome checked = TolvikCommand::Run({name}, work.path());
    QVERIFY2(checked.ExitCode == 0 && checked.Verdict.startsWith(QLatin1String("OK")),
             qPrintable(checked.Verdict));
    const std::optional<SolverEntry> solver = SolverEntry::ForFile(name);
    if (!solver) {
        QVERIFY(name.endsWith(QLatin1String(".d18"))); // the one type without a solver
        return;
    }

    // As the editor runs it, and for its answers.
    const SolverCommand::Outcome run = SolverCommand::Run(*solver, {path, "S"}, work.path());
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Message));
    const SolverCommand::Outcome printed =
        SolverCommand::Run(*solver, {QStringLiteral("--json"), path}, work.path());
    QCOMPARE(printed.ExitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(printed.StandardOutput, &error);
    QVERIFY2(document.isObject(), qPrintable(error.errorString()));
    const Answer answer(SolverInput::Read(path).Data, document.object());
    const QJsonObject& json = answer.Json();

    // The solver's own checks, each within the limit it states ("is 2.1e-16 of the loads (at
    // most 1e-06)"); every static answer states them.
    static const QRegularExpression check(QStringLiteral("is ([-+.e0-9]+) of [^(]*\\(at most "
                                                         "([-+.e0-9]+)\\)"));
    int checks = 0;
    for (const QRegularExpressionMatch& match : check.globalMatch(run.Protocol)) {
        QVERIFY2(match.captured(1).toDouble() <= match.captured(2).toDouble(),
                 qPrintable(match.captured(0)));
        ++checks;
    }
    QVERIFY2(checks > 0 || !json.contains(QStringLiteral("cases")), qPrintable(run.Protocol));
    const QJsonObject solution = json[QStringLiteral("solution")].toObject();
    if (solution[QStringLiteral("method")] == QLatin1String("iterative"))
        QVERIFY(solution[QStringLiteral("residual")].toDouble() <=
                solution[QStringLiteral("tolerance")].toDouble());
    // Modes and frequencies exist, lowest first.
    const QJsonArray modes = json[QStringLiteral("modes")].toArray();
    for (qsizetype i = 0; i < modes.size(); ++i) {
        const double f = modes[i][QStringLiteral("frequency")].toDouble(NaN);
        QVERIFY2(f > 0 && std::isfinite(f) && (i == 0 || f >= answer.Frequency(int(i))),
                 qPrintable(QStringLiteral("mode %1").arg(i + 1)));
    }

    // The reactions carry the nodal loads of table 7 and the element loads along every axis.
    const QStringList components = json[QStringLiteral("components")].toVariant().toStringList();
    const ParsedData& data = answer.Data();
    const int problem = solver->Problem;
    const ParsedTable* nodal = data.Table(7);
    for (const QJsonValue c : json[QStringLiteral("cases")].toArray()) {
        const int loadCase = c[QStringLiteral("case")].toInt();
        for (int k = 0; k < components.size(); ++k) {
            // Along the axes only; the rings of a body of revolution balance by symmetry.
            if (!components[k].startsWith(u'u') || components[k] == u"ur")
                continue;
            double reactions = 0, loads = 0, size = 0;
            for (const QJsonValue r : c[QStringLiteral("reactions")].toArray())
                reactions += r[k + 1].toDouble() * Weight(data, problem, r[0].toInt());
            for (int i = 0; nodal && i < nodal->Rows(); ++i) {
                if (int(nodal->At(i, 0)) != loadCase)
                    continue;
                const double f = nodal->At(i, 2 + k) * Weight(data, problem, int(nodal->At(i, 1)));
                loads += f;
                size += std::abs(f);
            }
            for (const Resultant& r : elementLoads) {
                if (r.Case == loadCase && r.Component == components[k]) {
                    loads += r.Total;
                    size += std::abs(r.Total);
                }
            }
            // 1e-5: an arc is solved as 64 chords, 8e-6 shorter than the arc its load is given on.
            QVERIFY2(std::abs(reactions + loads) <= 1e-5 * std::max(size, 1.0),
                     qPrintable(QStringLiteral("case %1, %2: reactions %3, loads %4")
                                    .arg(loadCase)
                                    .arg(components[k])
                                    .arg(reactions)
                                    .arg(loads)));
        }
    }

    for (const Figure& figure : figures) {
        const double value = figure.Value(answer);
        const double allowed =
            figure.Expected == 0 ? figure.Tolerance : figure.Tolerance * std::abs(figure.Expected);
        QVERIFY2(std::abs(value - figure.Expected) <= allowed,
                 qPrintable(QStringLiteral("%1 = %2, expected %3 (tolerance %4)")
                                .arg(figure.Name)
                                .arg(value, 0, 'g', 10)
                                .arg(figure.Expected, 0, 'g', 10)
                                .arg(figure.Tolerance)));
    }
}

QTEST_GUILESS_MAIN(TestShippedModels)
#include "tst_shippedmodels.moc"
