#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One column of results an element gives: its short name (the JSON's and the protocol's
// heading), the title a drawing puts above it, what kind of quantity it is, from which its unit
// follows in the model's force and length units, and where it lives on the element.
struct ResultColumn {
    enum class Quantity {
        None,          // a number without a unit
        Length,        // a displacement
        LengthSquared, // the warping of a profile per unit twist
        Rotation,      // in radians
        Angle,         // a direction, in degrees
        Force,
        ForcePerLength, // per unit width of a plate or shell, per length of a circumference
        Moment,
        MomentPerLength,
        Stress
    };
    // Centre: one value per element at its centre, and recovered from the elements around each
    // node at the nodes (a truss bar's one normal force: the same all along it); EndI, EndJ: at
    // an end of a bar or wall; Node: at the nodes only.
    enum class Where { Centre, Node, EndI, EndJ };

    QString Name; // "sx", "Mi"
    // "Stress sx". The two ends of a section force share its title ("Bending moment M" for Mi
    // and Mj): a diagram along the bar draws them as one.
    QString Title;
    Quantity What = Quantity::None;
    Where At = Where::Centre;

    bool operator==(const ResultColumn&) const = default;
};

// The columns of an element's results, in the order the element gives them, with the derived
// columns its family adds after them. The result file carries it, so that the viewer shows any
// column as its file names it.
struct ResultLayout {
    std::vector<ResultColumn> Columns;

    int Count() const { return static_cast<int>(Columns.size()); }
    bool Empty() const { return Columns.empty(); }
    const ResultColumn& operator[](int k) const { return Columns[static_cast<size_t>(k)]; }
    QStringList Names() const;
    int IndexOf(const QString& name) const; // -1 when there is none of that name
    ResultLayout& operator+=(const ResultLayout& more);
    ResultLayout operator+(const ResultLayout& more) const;
    bool operator==(const ResultLayout&) const = default;

    // How a unit is written: for the screen ("kN/m²", "°"), or in plain characters for the
    // protocols, with a moment "kNm" (the continuum tables) or "kN*m" (the tables of bars and
    // walls, as they have always been printed).
    enum class Notation { Screen, Plain, PlainStarred };
    // The unit of a quantity in the model's units: the one place that knows them.
    static QString UnitOf(ResultColumn::Quantity what, const QString& force, const QString& length,
                          Notation notation = Notation::Screen);

    // The displacement components of the problem table (ux ... rz, ur, rot, and a profile's
    // warping w) and the reactions that hold them; per unit length where the model is (a slice
    // of plane strain, the circumference of a body or shell of revolution).
    static ResultColumn::Quantity OfComponent(const QString& component);
    static ResultColumn::Quantity OfReaction(const QString& component, bool perLength);

    // Forces named as bars name them, which give no layout of their own: the reactions ("Fx",
    // "My": a moment's name starts with M or T); per unit length for walls of revolution.
    static ResultLayout OfForceNames(const QStringList& names, bool perLength);
    // The columns of a section at end i then at end j: each name with i, then with j.
    static ResultLayout AtEnds(const ResultLayout& section);
    // The section forces of bars and walls of revolution in a result file before their
    // layouts were written ("Ni" ... "Mj", a truss's "N" alone, a wall's "Nsi" ... "Qj"), with
    // their titles and quantities; none when a name is not one of them or not in its place.
    static std::optional<ResultLayout> OfOldForceNames(const QStringList& names, bool perLength);
    // The stress columns of a result file before layouts were written: every name those files
    // held, with its title and quantity; none when a name is not one of them.
    static std::optional<ResultLayout> OfOldNames(const QStringList& names);
};
