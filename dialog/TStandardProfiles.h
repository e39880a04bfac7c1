#pragma once

#include "ProfileValues.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTableWidget;

// "Standard profiles": a kind and a type chooser, the linear dimension of the data file, and
// a grid of the profiles picked so far with their dimensions and characteristics in the
// file's units. "&Insert" adds the chosen type, "&Delete" removes the selected row, OK hands
// the rows over.
class TStandardProfiles : public QDialog {
    Q_OBJECT

public:
    TStandardProfiles(const StandardTable& table, const UnitScale& units, const QString& kind,
                      QWidget* parent);

    void ChooseKind(const QString& key);
    void ChooseType(const QString& name);
    void InsertClick();
    void DeleteClick();
    const QList<SectionValues>& Chosen() const { return chosen; }

    QComboBox* KindBox() const { return kindBox; }
    QComboBox* TypeBox() const { return typeBox; }
    QTableWidget* Grid() const { return grid; }

private:
    void FillTypes();
    const StandardTable::Group* CurrentGroup() const;

    const StandardTable& table;
    UnitScale units;
    QComboBox* kindBox = nullptr;
    QComboBox* typeBox = nullptr;
    QLabel* dimension = nullptr;
    QTableWidget* grid = nullptr;
    QList<SectionValues> chosen;
};
