#pragma once

#include <QString>

// The units in which a data file is written, as the editor hands them over: length code 1 cm,
// 2 mm, anything else m; force code 1 kN, 2 MN, 3 kg (kilogram-force), 4 T (tonne-force),
// anything else N. The standard tables are in mm, cm², cm⁴, N/mm² and kN/m³; these factors
// turn their values into the file's units.
class UnitScale {
public:
    UnitScale(int lengthCode, int forceCode = 0) : lengthCode(lengthCode), forceCode(forceCode) {}

    // Metres per file length unit, and newtons per file force unit.
    double MetresPerLength() const;
    double NewtonsPerForce() const;
    QString LengthName() const;
    QString ForceName() const;

    // Table values in the file's units.
    double FromMillimetres(double value) const;
    double FromSquareCentimetres(double value) const;
    double FromQuarticCentimetres(double value) const;
    double FromMegapascals(double value) const;
    double FromKilonewtonsPerCubicMetre(double value) const;

private:
    int lengthCode;
    int forceCode;
};
