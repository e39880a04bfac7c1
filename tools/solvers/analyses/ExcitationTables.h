#pragma once

#include "DataFormat.h"
#include "DirectIntegration.h"
#include "ForcedVibration.h"
#include "ParsedData.h"
#include "TimeFunction.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

// The dynamic tables 20 to 30 of a dynamics file (damping, time functions, dynamic loads,
// ground motions, excitations and spectra) as the forced vibration takes them. The checker
// has held them to their rules; what only the solver can judge (a function's points, a
// spectrum's periods) throws SolverError at its line.
class ExcitationTables {
public:
    // `components`: the model's components (0..5) in the order table 7 lists its loads.
    static ExcitationTables Read(const DataFormat& format, const ParsedData& data,
                                 const std::vector<int>& components);

    bool Any() const { return !excitations_.List.empty(); }
    // The excitations, their damping spread over `modes` modes and g in `gravity`.
    ForcedVibration::Excitations Excitations(int modes, double gravity) const;
    // Whether table 20 gives the damping, and the ratio of the modes it does not list.
    bool DampingGiven() const { return dampingGiven_; }
    double DampingOfOthers() const { return dampingDefault_; }
    // Table 21, for direct integration: absent when the data leaves it to the modes.
    const std::optional<std::array<double, 4>>& Rayleigh() const { return rayleigh_; }
    // The excitations integrated directly (a history's method DIRECT).
    bool Direct(int excitation) const { return direct_.contains(excitation); }
    // The line of an excitation's definition, for messages.
    int Line(int excitation) const;

private:
    void ReadDamping(const ParsedData& data);
    void ReadFunctions(const DataFormat& format, const ParsedData& data);
    void ReadDrives(const DataFormat& format, const ParsedData& data,
                    const std::vector<int>& components);
    void ReadExcitations(const DataFormat& format, const ParsedData& data);
    void ReadSpectra(const DataFormat& format, const ParsedData& data);

    ForcedVibration::Excitations excitations_;
    std::map<int, double> damping_;
    double dampingDefault_ = 0.05;
    bool dampingGiven_ = false;
    std::optional<std::array<double, 4>> rayleigh_;
    std::map<int, TimeFunction> functions_;
    std::set<int> direct_;
    std::map<int, int> lines_;
};
