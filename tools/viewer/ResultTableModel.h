#pragma once

#include "ForcedMotion.h"
#include "ViewerResults.h"

#include <QAbstractTableModel>
#include <vector>

// The numbers of the results as a table for the viewer's dock: the displacements, reactions
// or element end forces of one load case; the frequencies or critical factors and one mode
// or buckling shape. Numbers show with four significant digits and copy in full.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Continuum types add the stresses at the element centres and at the nodes; a profile its
    // torsion constants.
    enum class Table {
        Displacements,
        Reactions,
        Forces,
        Values,
        Shape,
        CentreStresses,
        NodeStresses,
        TorsionConstants,
        // Forced vibrations: the nodes' and elements' values of the entry chosen (a history's
        // motion at the instant drawn, a harmonic's amplitudes at the frequency drawn, a
        // history's bound with the instants, a spectrum's peaks), and the points of the
        // response curve plotted.
        ForcedNodes,
        ForcedElements,
        Response
    };
    // What the forced tables show besides the entry: the motion, its point and phase, and
    // the curve plotted with its name ("Node 5 uz [m]").
    struct Forced {
        const ForcedMotion* Motion = nullptr;
        int Point = 0;
        double Phase = 0;
        ForcedMotion::Curve Curve;
        QString CurveName;
    };
    void SetForced(Forced forced) { forced_ = std::move(forced); }

    // The problem `type` tells the tables' titles and the units of reactions (per unit length
    // for a slice of plane strain, a body or shell of revolution).
    ResultTableModel(const ViewerResults& results, const ProblemType& type,
                     const QString& forceUnit, const QString& lengthUnit,
                     QObject* parent = nullptr);

    // The tables the results offer, and their names for a choice.
    std::vector<Table> Tables() const;
    QString TitleOf(Table table) const;
    // Shows `table` for the load case or shape at index `entry`.
    void Show(Table table, int entry);
    Table Current() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The cells of `indexes` as tab-separated lines with their column titles, for the
    // clipboard; numbers in full.
    QString Text(const QModelIndexList& indexes) const;
    // The whole table in the same form, for saving.
    QString Text() const;
    // The whole table as an HTML table with `heading` above it, for printing.
    QString Html(const QString& heading) const;

private:
    void Build();
    void BuildField();
    void BuildForced();
    // Whether column `column` holds whole numbers (of nodes, elements, cases and shapes).
    bool Whole(int column) const;
    // "name [unit]" for each column, in the model's units.
    QStringList Titled(const QStringList& names,
                       const std::vector<ResultColumn::Quantity>& quantities) const;
    QStringList Titled(const ResultLayout& columns) const;
    QStringList ComponentTitles(const QStringList& components) const;
    QStringList ReactionTitles(const QStringList& components, bool perLength) const;
    // Rows top to bottom and columns left to right, tab-separated under their titles; a cell
    // left out when `chosen` says so (null: all).
    QString Lines(int top, int bottom, int left, int right, const std::vector<char>* chosen) const;
    QString Cell(int row, int column) const; // a number in full

    const ViewerResults& results_;
    const ProblemType* type_;
    QString forceUnit_, lengthUnit_;
    Table table_ = Table::Displacements;
    int entry_ = 0;
    Forced forced_;
    QStringList headers_;
    std::vector<std::vector<double>> rows_; // the first value is the row's number
};
