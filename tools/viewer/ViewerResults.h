#pragma once

#include "ProblemType.h"
#include "ResultFile.h"
#include "ViewerModel.h"

#include <QString>
#include <array>
#include <optional>

// The results of a data file as the viewer shows them: the solver's result file beside the
// data file, read and checked against the model. A file that is missing, unreadable, of
// another problem or kind, whose nodes, elements or components do not match the data, or
// whose contents cannot be sound (a load case twice, a frequency of 0 Hz) is refused with a
// message that says so; nothing of it is shown then.
class ViewerResults {
public:
    enum class Status { Shown, NoSolver, Missing, Unreadable, Mismatch };

    // Reads the result file of `dataPath`, a data file of `type` (the ".p" variant when
    // `dynamics`).
    static ViewerResults Load(const QString& dataPath, const ProblemType& type, bool dynamics,
                              const ViewerModel& model);
    // Checks the bytes of a result file against the model; `path` only names it in messages.
    static ViewerResults FromBytes(const QByteArray& bytes, const QString& path,
                                   const ProblemType& type, bool dynamics,
                                   const ViewerModel& model);

    Status State() const { return status_; }
    bool Ok() const { return status_ == Status::Shown; }
    // Why nothing is shown, or a warning about results that are shown (older than the data).
    const QString& Message() const { return message_; }
    const QString& Path() const { return path_; }
    const ResultFile::Contents& Contents() const { return contents_; }
    // Modes and buckling shapes of version 3: the straight pieces of each element (empty for
    // older files) and the inner points' displacements of shape `shape` (elements in order,
    // each from i to j).
    const std::vector<int>& Pieces() const { return contents_.Modes.Pieces; }
    const std::vector<double>& InnerShape(size_t shape) const;

    // The translation and rotation of a node in global axes from one row of node values in
    // the file's components (a missing component counts 0).
    struct Motion {
        std::array<double, 3> Move{};
        std::array<double, 3> Turn{};
    };
    static Motion NodeMotion(const std::vector<double>& values, const QStringList& components,
                             int node);
    // The same for many nodes: where each of ux uy uz rx ry rz lies in a row (-1: not kept),
    // found once from the component names.
    using Places = std::array<int, 6>;
    static Places PlacesOf(const QStringList& components);
    static Motion NodeMotion(const std::vector<double>& values, const Places& places, int width,
                             int node);

    // Natural modes of a free structure: how many rigid-body modes at 0 Hz come before the
    // listed ones, as the solver's report beside the data file gives it; 0 otherwise.
    int RigidModes() const { return rigidModes_; }

    // The index of the static load case with that number, or -1.
    int CaseIndex(int number) const;
    // What the viewer offers of static results: the load cases, then the load combinations,
    // then the envelopes, each an entry; each envelope twice, its largest values and then its
    // smallest, which the tables and contours show as they show a case. Null past them.
    int StaticEntries() const;
    const StaticResults::Case* StaticEntry(int entry) const;
    const FieldResults::Case* FieldEntry(int entry) const;
    // The envelope of an entry and which bound it shows; none for a case or a combination.
    struct Bound {
        size_t Envelope = 0; // its index among the envelopes
        bool Largest = true;
    };
    std::optional<Bound> BoundOf(int entry) const;
    // "Load case 2", "Combination 1", "Envelope 1 max".
    QString EntryTitle(int entry) const;

    // The forced vibrations, offered after the natural modes: per excitation one entry of its
    // motion (a harmonic sweep or a history), then a history's largest and smallest values
    // over time as two entries, as an envelope's bounds are; a spectrum's combined peaks.
    enum class ForcedView { Motion, Max, Min, Peaks };
    struct ForcedEntry {
        size_t Excitation = 0; // its index among the excitations
        ForcedView View = ForcedView::Motion;
    };
    int ForcedEntries() const;
    // `entry` counts the modes' shapes first, as the choice of entries does; none for a shape.
    std::optional<ForcedEntry> ForcedOf(int entry) const;
    // "Excitation 1: harmonic, 2.5 to 12 Hz", "Excitation 2 max",
    // "Excitation 3: spectrum, combined peaks".
    QString ForcedTitle(int entry) const;

private:
    static ViewerResults Refused(Status status, const QString& path, const QString& message);

    Status status_ = Status::Missing;
    QString message_;
    QString path_;
    ResultFile::Contents contents_;
    int rigidModes_ = 0;
};
