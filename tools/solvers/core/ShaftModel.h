#pragma once

#include <QString>
#include <vector>

class ParsedData;

// A shaft line as the data file gives it: nodes along the x axis joined by round shaft
// elements, resting on bearings and carrying discs. Every index counts from 0 and keeps the
// line of the file it came from, for messages.
struct ShaftModel {
    struct Material {
        double E = 0, Nu = 0, Gamma = 0; // Gamma: weight per volume
        int Line = 0;
    };
    struct Section {
        double D = 0, d = 0; // outer and inner diameter
        int Line = 0;

        double Area() const;
        double Inertia() const;      // about a diameter
        double PolarInertia() const; // twice the inertia
    };
    struct Element {
        int I = 0, J = 0; // nodes
        int Material = 0, Section = 0;
        int Line = 0;
    };
    // A radial support of a node; K == 0 holds the node rigidly.
    struct Bearing {
        int Node = 0;
        double K = 0;
        int Line = 0;

        bool Rigid() const { return K == 0; }
    };
    struct Disc {
        int Node = 0;
        double M = 0, Jp = 0, Jd = 0;
        int Line = 0;
    };

    QString Title, ForceUnit, LengthUnit;
    int Frequencies = 0; // how many natural frequencies are asked for
    double Gravity = 0;  // in the length unit per s^2, to turn weights into masses
    std::vector<double> X;
    std::vector<int> NodeLines;
    std::vector<Material> Materials;
    std::vector<Section> Sections;
    std::vector<Element> Elements;
    std::vector<Bearing> Bearings;
    std::vector<Disc> Discs;

    double Length(const Element& element) const;

    // The model of a checked data file of type 12.
    static ShaftModel FromData(const ParsedData& data);
};
