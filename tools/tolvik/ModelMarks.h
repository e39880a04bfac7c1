#pragma once

#include "DataFormat.h"
#include "ParsedData.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

// What the drawings of a model show of its optional tables 10 to 18 beside the elements:
// springs, imposed displacements, self-weight, temperatures, elastic foundations and the
// point and partial loads on members, placed in the drawings' world coordinates (plane
// models in the x-z plane, grillages and plates in the x-y plane). Combinations and
// envelopes have nothing to draw.
struct ModelMark {
    enum class Kind : std::uint16_t {
        Spring = 1,  // a spring along Vector (a unit axis), stiffness Value
        TurnSpring,  // a rotational spring about Vector (a unit axis), stiffness Value
        Shift,       // an imposed translation: Vector
        Turn,        // an imposed rotation: Vector, the axis times the angle
        Gravity,     // self-weight: Vector, the factors of g along the axes
        Heat,        // a temperature change Value and difference Difference at At
        Foundation,  // an elastic foundation of modulus Value under At to To
        Force,       // a point force Vector on a member at At
        Moment,      // a point moment Vector on a member at At
        PartialLoad, // a load per length from Vector at At to VectorTo at To
    };
    using Vec3 = std::array<double, 3>;

    Kind Type = Kind::Spring;
    int Case = 0; // the load case; 0 for what holds in every case (springs, foundations)
    Vec3 At{}, To{};
    Vec3 Vector{}, VectorTo{};
    double Value = 0;
    double Difference = 0;
    int Element = -1; // the member of a point or partial load, counted from 0
};

class ModelMarks {
public:
    // The marks of a checked model, in file order; none for a type without a model.
    static std::vector<ModelMark> Of(const DataFormat& format, const ParsedData& data);

    // The preview's model file "MARKS": one 40-byte record per mark, little-endian: the kind
    // and the load case as unsigned 16-bit numbers (a case above 65535 as 65535), then At,
    // To and the direction of the mark as three IEEE singles each. The direction is the unit
    // vector of Vector (of the larger end of a partial load); 0 where it has none or its
    // size is no number.
    static constexpr int RecordSize = 40;
    static QByteArray Bytes(const std::vector<ModelMark>& marks);
};
