#include "IterativeSolver.h"

#include "Parallel.h"
#include "SolverError.h"

#include <Eigen/Geometry>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace IterativeSolver {

namespace {

// Below this many unknowns per process a helper costs more to start (a copy of the program,
// its libraries and its MPI) than it saves.
constexpr long long UnknownsPerProcess = 30000;

// Whether `argv` is that of a helper started by a Solve.
bool HelperCommand(char* argv[]) {
    return argv && argv[0] && argv[1] && std::strcmp(argv[1], Session::HelperArgument) == 0;
}

// The processes of the run and this one's place among them, as the launcher (Open MPI's
// mpirun, or the Hydra of MPICH) announces them before MPI is started.
int Announced(std::initializer_list<const char*> names, int fallback) {
    for (const char* name : names)
        if (const char* value = std::getenv(name))
            return std::atoi(value);
    return fallback;
}

int LaunchedSize() {
    return std::max(1, Announced({"OMPI_COMM_WORLD_SIZE", "PMI_SIZE"}, 1));
}

int LaunchedRank() {
    return std::max(0, Announced({"OMPI_COMM_WORLD_RANK", "PMI_RANK"}, 0));
}

QString ComponentName(const System& system, int equation) {
    static constexpr const char* names[] = {"ux", "uy", "uz", "rx", "ry", "rz"};
    const int block = system.Block();
    return QStringLiteral("%1 of node %2")
        .arg(QLatin1String(names[system.Components[static_cast<size_t>(equation % block)]]))
        .arg(equation / block + 1);
}

// Why the system cannot be solved as given, or empty. Checked before any other process is
// involved, so that a refusal never leaves them waiting.
QString Refusal(const System& system, const Eigen::SparseMatrix<double>& upper,
                const Eigen::MatrixXd& loads, const Settings& settings) {
    const Eigen::Index size = system.Block() * static_cast<Eigen::Index>(system.Nodes);
    if (system.Nodes <= 0)
        return QStringLiteral("the system has no nodes");
    for (int c : system.Components)
        if (c < 0 || c > 5)
            return QStringLiteral("a component %1 of none of space's six").arg(c);
    if (upper.rows() != size || upper.cols() != size)
        return QStringLiteral("the stiffness is %1 x %2, not %3 square for %4 nodes")
            .arg(upper.rows())
            .arg(upper.cols())
            .arg(size)
            .arg(system.Nodes);
    if (static_cast<Eigen::Index>(system.Coordinates.size()) != system.Nodes)
        return QStringLiteral("%1 coordinates for %2 nodes")
            .arg(system.Coordinates.size())
            .arg(system.Nodes);
    if (static_cast<Eigen::Index>(system.Fixed.size()) != size)
        return QStringLiteral("%1 support flags for %2 unknowns")
            .arg(system.Fixed.size())
            .arg(size);
    if (loads.rows() != size)
        return QStringLiteral("loads of %1 rows for %2 unknowns").arg(loads.rows()).arg(size);
    if (!(settings.Tolerance > 0 && settings.Tolerance < 1) || settings.MaxIterations < 1)
        return QStringLiteral("tolerance %1 or iteration limit %2 out of range")
            .arg(settings.Tolerance)
            .arg(settings.MaxIterations);
    if (!loads.allFinite())
        return QStringLiteral("loads that are not finite numbers");
    for (const std::array<double, 3>& point : system.Coordinates)
        if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2]))
            return QStringLiteral("coordinates that are not finite numbers");
    const int* outer = upper.outerIndexPtr();
    const int* inner = upper.innerIndexPtr();
    const double* value = upper.valuePtr();
    for (int j = 0; j < size; ++j) {
        const int last = outer[j + 1] - 1;
        if (last >= outer[j] && inner[last] > j)
            return QStringLiteral("the stiffness holds terms below its diagonal; the upper "
                                  "triangle alone is expected");
        const bool diagonal = last >= outer[j] && inner[last] == j;
        if (!system.Fixed[static_cast<size_t>(j)] && !(diagonal && value[last] > 0))
            return QStringLiteral("%1 has no stiffness of its own (not held by any element)")
                .arg(ComponentName(system, j));
    }
    // Every row of the whole matrix once from the triangle and once from its mirror.
    const double entries = 2.0 * static_cast<double>(upper.nonZeros()) - static_cast<double>(size);
    if (entries > 2147483647.0)
        return QStringLiteral("the stiffness has %1 terms, more than this build can index")
            .arg(entries, 0, 'g', 4);
    return {};
}

// The matrix as compressed arrays, which the rows are read from: the given one, or `copy`
// made compressed from it.
const Eigen::SparseMatrix<double>& Compressed(const Eigen::SparseMatrix<double>& given,
                                              Eigen::SparseMatrix<double>& copy) {
    if (given.isCompressed())
        return given;
    copy = given;
    copy.makeCompressed();
    return copy;
}

} // namespace

Eigen::MatrixXd RigidModes(const System& system) {
    const size_t nodes = system.Coordinates.size();
    Eigen::Vector3d centre = Eigen::Vector3d::Zero();
    for (const std::array<double, 3>& at : system.Coordinates)
        centre += Eigen::Vector3d(at[0], at[1], at[2]);
    centre /= std::max<double>(1, static_cast<double>(nodes));
    double size = 0;
    for (const std::array<double, 3>& at : system.Coordinates)
        size = std::max(size, (Eigen::Vector3d(at[0], at[1], at[2]) - centre).norm());
    const double scale = size > 0 ? size : 1.0;
    const int block = system.Block();
    Eigen::MatrixXd modes = Eigen::MatrixXd::Zero(block * static_cast<Eigen::Index>(nodes), 6);
    for (size_t node = 0; node < nodes; ++node) {
        const std::array<double, 3>& at = system.Coordinates[node];
        const Eigen::Vector3d p = (Eigen::Vector3d(at[0], at[1], at[2]) - centre) / scale;
        for (int m : system.Motions) {
            if (m < 0 || m > 5)
                continue;
            // Translation m, or the rotation w about axis m - 3: u = w x p, the rotation w.
            Eigen::Matrix<double, 6, 1> motion = Eigen::Matrix<double, 6, 1>::Zero();
            if (m < 3) {
                motion[m] = 1;
            } else {
                const Eigen::Vector3d w = Eigen::Vector3d::Unit(m - 3);
                motion.head<3>() = w.cross(p);
                motion.tail<3>() = w;
            }
            for (int k = 0; k < block; ++k)
                modes(block * static_cast<Eigen::Index>(node) + k, m) =
                    motion[system.Components[static_cast<size_t>(k)]];
        }
    }
    // The motions the components cannot show (a plane model's translation across its plane, a
    // plate's within its own) vanish; the others stay.
    std::vector<Eigen::Index> kept;
    for (Eigen::Index m = 0; m < 6; ++m)
        if (modes.col(m).lpNorm<Eigen::Infinity>() > 1e-12)
            kept.push_back(m);
    Eigen::MatrixXd shown(modes.rows(), static_cast<Eigen::Index>(kept.size()));
    for (size_t k = 0; k < kept.size(); ++k)
        shown.col(static_cast<Eigen::Index>(k)) = modes.col(kept[k]);
    return shown;
}

int ProcessesFor(long long unknowns, int cores) {
    return static_cast<int>(
        std::clamp<long long>(unknowns / UnknownsPerProcess, 1, std::max(1, cores)));
}

} // namespace IterativeSolver

#ifndef QV_WITH_PETSC

namespace IterativeSolver {

bool Available() {
    return false;
}

bool Start(int) {
    return false;
}

Outcome Solve(const System& system, const Eigen::MatrixXd& loads, const Settings& settings) {
    Eigen::SparseMatrix<double> copy;
    QString refused;
    if (system.Upper)
        refused = Refusal(system, Compressed(*system.Upper, copy), loads, settings);
    throw SolverError(refused.isEmpty() ? QStringLiteral("this build has no iterative solver")
                                        : refused);
}

// Without MPI the other processes of an mpirun have nothing to help with; they end at once
// and leave the run to the first, which must be the only one to read and write.
Session::Session(char* argv[]) : rank_(LaunchedRank()), size_(LaunchedSize()) {
    Q_UNUSED(argv);
}

Session::~Session() = default;

int Session::Serve() {
    return 0;
}

} // namespace IterativeSolver

#else

#include <atomic>
#include <chrono>
#include <climits>
#include <dlfcn.h>
#include <mpi.h>
#include <petscksp.h>
#include <thread>
#include <type_traits>
#include <unistd.h>

namespace IterativeSolver {

namespace {

static_assert(std::is_same_v<PetscScalar, double>, "PETSc must be built for real numbers");

// A PETSc call that failed; PETSc's error handler has said why on the standard error.
struct PetscFailure {
    PetscErrorCode Code;
};

void Check(PetscErrorCode code) {
    if (code != 0)
        throw PetscFailure{code};
}

// A PETSc object destroyed with its owner, also when a failure unwinds the solve.
template <typename T, PetscErrorCode (*Destroy)(T*)>
class Owned {
public:
    Owned() = default;
    ~Owned() {
        if (object_)
            Destroy(&object_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T* Out() { return &object_; }
    operator T() const { return object_; }

private:
    T object_ = nullptr;
};

using OwnedMat = Owned<Mat, MatDestroy>;
using OwnedVec = Owned<Vec, VecDestroy>;
using OwnedKsp = Owned<KSP, KSPDestroy>;
using OwnedNullSpace = Owned<MatNullSpace, MatNullSpaceDestroy>;

// What the Session of this process's main prepared. Like MPI's own state it belongs to the
// process, and it is set once at the start of main, before any thread.
struct Prepared {
    // The Session set Open MPI's transports in the environment.
    std::atomic<bool> Transports{false};
    // It lets Solve start helpers: copies of this program, which only a main with a Session
    // turns into helpers.
    std::atomic<bool> Helpers{false};
    // The user had set none of the transports, so a solve without helpers may narrow them.
    std::atomic<bool> Narrowable{false};
};
Prepared prepared;

// Open MPI's transports for processes that all run on this machine. A process alone needs no
// daemon and no transport but to itself: probing for network fabrics costs a third of a second
// at start, and the daemon's threads take a core from the solution for its whole length.
// Helpers started from a process alone belong to another job, which shared memory does not
// reach here: they talk over the loopback. Nor are they bound to a core, which may be the one
// the first process runs on. What the user has set stays.
constexpr const char* Messaging = "OMPI_MCA_pml";
constexpr const char* Transport = "OMPI_MCA_btl";
constexpr const char* OneSided = "OMPI_MCA_osc";
constexpr const char* Isolated = "OMPI_MCA_ess_singleton_isolated";
constexpr const char* Binding = "OMPI_MCA_hwloc_base_binding_policy";
// The helpers are counted against the processors the program may use, hardware threads
// included; Open MPI counts cores, and refuses the spawn beyond them with a page of text.
constexpr const char* Threads = "OMPI_MCA_hwloc_base_use_hwthreads_as_cpus";

void LocalTransports(bool alone) {
    setenv(Threads, "1", 0);
    setenv(Messaging, "ob1", 0);
    setenv(Transport, alone ? "self" : "self,vader,tcp", 0);
    setenv(OneSided, "^ucx", 0);
    setenv(Isolated, alone ? "1" : "0", 0);
    setenv(Binding, "none", 0);
}

// For a process that might have started helpers and does not: the variables were all made
// before any thread by the Session, so this replaces their values in place and never moves the
// environment under a thread that reads it.
void AloneAfterAll() {
    if (!prepared.Narrowable)
        return;
    setenv(Transport, "self", 1);
    setenv(Isolated, "1", 1);
}

// A threaded BLAS (OpenBLAS) keeps its threads spinning for a while after each call. The
// multigrid calls it only for small dense blocks, and those threads would take the cores that
// the other processes of the solve, or the program's own loops, run on.
void SingleThreadedBlas() {
    using SetThreads = void (*)(int);
    if (const auto set =
            reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "openblas_set_num_threads")))
        set(1);
}

bool StartMpi() {
    int mpiStarted = 0;
    MPI_Initialized(&mpiStarted);
    if (mpiStarted)
        return true;
    // A solver with a window solves on a thread of its own, not on the one that started MPI;
    // the calls never overlap.
    int provided = 0;
    return MPI_Init_thread(nullptr, nullptr, MPI_THREAD_SERIALIZED, &provided) == MPI_SUCCESS;
}

bool StartPetsc(MPI_Comm world) {
    SingleThreadedBlas();
    PETSC_COMM_WORLD = world;
    // Crashes stay the program's (and the sanitizers') to report.
    PetscOptionsSetValue(nullptr, "-no_signal_handler", nullptr);
    return PetscInitializeNoArguments() == 0;
}

bool PetscStarted() {
    PetscBool started = PETSC_FALSE;
    PetscInitialized(&started);
    return started;
}

// Starts `helpers` copies of this program and returns the communicator of this process (rank 0)
// and them, or MPI_COMM_SELF when they cannot be started.
MPI_Comm Spawn(int helpers) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return MPI_COMM_SELF;
    path[length] = 0;
    char argument[64];
    std::snprintf(argument, sizeof argument, "%s", Session::HelperArgument);
    char* arguments[] = {argument, nullptr};
    MPI_Comm_set_errhandler(MPI_COMM_SELF, MPI_ERRORS_RETURN);
    MPI_Comm helping = MPI_COMM_NULL;
    std::vector<int> codes(static_cast<size_t>(helpers), MPI_SUCCESS);
    if (MPI_Comm_spawn(path, arguments, helpers, MPI_INFO_NULL, 0, MPI_COMM_SELF, &helping,
                       codes.data()) != MPI_SUCCESS ||
        helping == MPI_COMM_NULL)
        return MPI_COMM_SELF;
    MPI_Comm together = MPI_COMM_NULL;
    MPI_Intercomm_merge(helping, 0, &together);
    MPI_Comm_free(&helping);
    return together == MPI_COMM_NULL ? MPI_COMM_SELF : together;
}

// Starts MPI and PETSc for a program run alone unless they run already: over this process and
// `helpers` copies of the program when it may start them, else over this process alone (its
// copies, if any, know nothing of each other then).
bool StartAlone(int helpers) {
    if (PetscStarted())
        return true;
    const bool spawning = helpers > 0 && prepared.Helpers;
    if (!prepared.Transports)
        LocalTransports(true); // a program without a Session: tests, benchmarks
    else if (!spawning)
        AloneAfterAll();
    if (!StartMpi())
        return false;
    return StartPetsc(spawning ? Spawn(helpers) : MPI_COMM_SELF);
}

void Finish() {
    PetscBool started = PETSC_FALSE, finished = PETSC_FALSE;
    PetscInitialized(&started);
    PetscFinalized(&finished);
    if (started && !finished)
        PetscFinalize();
    int mpiStarted = 0, mpiFinished = 0;
    MPI_Initialized(&mpiStarted);
    MPI_Finalized(&mpiFinished);
    if (mpiStarted && !mpiFinished)
        MPI_Finalize();
}

// What rank 0 tells the others before each solve, and at the end.
enum Command : int { Stop = 0, Collective = 1 };
struct Order {
    int Command = Stop;
    int Nodes = 0, Cases = 0, MaxIterations = 0;
    double Tolerance = 0;
    int Block = 3, Modes = 0; // unknowns per node; rigid motions
};

// Rank 0's order to all. The others wait for it without spinning: rank 0 may read and assemble
// for minutes, and a busy wait would take a core from it.
void Broadcast(Order& order, int rank) {
    MPI_Request request;
    MPI_Ibcast(&order, sizeof order, MPI_BYTE, 0, PETSC_COMM_WORLD, &request);
    if (rank == 0) {
        MPI_Wait(&request, MPI_STATUS_IGNORE);
        return;
    }
    std::chrono::microseconds pause(50);
    for (int done = 0;;) {
        MPI_Test(&request, &done, MPI_STATUS_IGNORE);
        if (done)
            return;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

// Each process owns the equations of a contiguous range of whole nodes.
std::vector<int> FirstNodes(int nodes, int size) {
    std::vector<int> first(static_cast<size_t>(size) + 1, 0);
    for (int p = 0; p < size; ++p)
        first[static_cast<size_t>(p) + 1] =
            first[static_cast<size_t>(p)] + nodes / size + (p < nodes % size ? 1 : 0);
    return first;
}

// Rows of the whole symmetric matrix, compressed, with global column numbers.
struct Rows {
    std::vector<PetscInt> Start, Columns;
    std::vector<PetscScalar> Values;
};

// Rows [first, last) of the whole matrix from its upper triangle, each row's columns
// ascending. A fixed component keeps only its diagonal term (1 where it has none): its loads
// are zero, so its answer is zero; keeping the stiffness's scale there spares the smoother a
// stray eigenvalue.
Rows RowsOf(const Eigen::SparseMatrix<double>& upper, std::span<const char> fixed, int first,
            int last) {
    const int* outer = upper.outerIndexPtr();
    const int* inner = upper.innerIndexPtr();
    const double* value = upper.valuePtr();
    const int size = static_cast<int>(upper.cols());
    const auto held = [&](int equation) { return fixed[static_cast<size_t>(equation)] != 0; };
    // Visits the kept terms of the rows, those left of each diagonal first, the rest after
    // in column order: the order of a sorted row.
    const auto visit = [&](auto take) {
        for (int i = first; i < last; ++i) {
            if (held(i)) {
                const int end = outer[i + 1] - 1;
                const bool own = end >= outer[i] && inner[end] == i && value[end] > 0;
                take(i, i, own ? value[end] : 1.0);
                continue;
            }
            for (int e = outer[i]; e < outer[i + 1]; ++e)
                if (!held(inner[e]))
                    take(i, inner[e], value[e]);
        }
        for (int j = first + 1; j < size; ++j) {
            if (held(j))
                continue;
            const int* begin = std::lower_bound(inner + outer[j], inner + outer[j + 1], first);
            const int below = std::min(last, j);
            for (const int* row = begin; row != inner + outer[j + 1] && *row < below; ++row)
                if (!held(*row))
                    take(*row, j, value[row - inner]);
        }
    };
    Rows rows;
    const size_t count = static_cast<size_t>(last - first);
    rows.Start.assign(count + 1, 0);
    visit([&](int i, int, double) { ++rows.Start[static_cast<size_t>(i - first) + 1]; });
    for (size_t r = 0; r < count; ++r)
        rows.Start[r + 1] += rows.Start[r];
    rows.Columns.resize(static_cast<size_t>(rows.Start[count]));
    rows.Values.resize(rows.Columns.size());
    std::vector<PetscInt> next(rows.Start.begin(), rows.Start.end() - 1);
    visit([&](int i, int j, double v) {
        const size_t at = static_cast<size_t>(next[static_cast<size_t>(i - first)]++);
        rows.Columns[at] = j;
        rows.Values[at] = v;
    });
    return rows;
}

// What rank 0 alone holds of a solve.
struct Problem {
    const System& Given;
    const Eigen::SparseMatrix<double>& Upper;
    const Eigen::MatrixXd& Loads;
    const Eigen::MatrixXd& Modes; // RigidModes(Given)
    Outcome& Result;
    QString& Failure; // the first case that did not converge; empty when all did
};

enum Tag : int { RowStarts = 1, RowColumns = 2, RowValues = 3 };

// The owned rows of the matrix: rank 0 forms each process's rows in turn and sends them.
Rows DistributeRows(const Problem* problem, const std::vector<int>& firstNode, int block, int rank,
                    int size) {
    const MPI_Comm world = PETSC_COMM_WORLD;
    if (rank != 0) {
        Rows rows;
        const size_t count = static_cast<size_t>(block) *
                             static_cast<size_t>(firstNode[static_cast<size_t>(rank) + 1] -
                                                 firstNode[static_cast<size_t>(rank)]);
        rows.Start.resize(count + 1);
        MPI_Recv(rows.Start.data(), static_cast<int>(count + 1), MPIU_INT, 0, RowStarts, world,
                 MPI_STATUS_IGNORE);
        rows.Columns.resize(static_cast<size_t>(rows.Start.back()));
        rows.Values.resize(rows.Columns.size());
        MPI_Recv(rows.Columns.data(), static_cast<int>(rows.Columns.size()), MPIU_INT, 0,
                 RowColumns, world, MPI_STATUS_IGNORE);
        MPI_Recv(rows.Values.data(), static_cast<int>(rows.Values.size()), MPI_DOUBLE, 0, RowValues,
                 world, MPI_STATUS_IGNORE);
        return rows;
    }
    const auto rowsOf = [&](int p) {
        return RowsOf(problem->Upper, problem->Given.Fixed,
                      block * firstNode[static_cast<size_t>(p)],
                      block * firstNode[static_cast<size_t>(p) + 1]);
    };
    for (int p = 1; p < size; ++p) {
        const Rows rows = rowsOf(p);
        MPI_Send(rows.Start.data(), static_cast<int>(rows.Start.size()), MPIU_INT, p, RowStarts,
                 world);
        MPI_Send(rows.Columns.data(), static_cast<int>(rows.Columns.size()), MPIU_INT, p,
                 RowColumns, world);
        MPI_Send(rows.Values.data(), static_cast<int>(rows.Values.size()), MPI_DOUBLE, p, RowValues,
                 world);
    }
    return rowsOf(0);
}

// Counts and offsets of each process's share of a vector of `block` values per node.
struct Shares {
    std::vector<int> Counts, Offsets;
    Shares(const std::vector<int>& firstNode, int block) {
        for (size_t p = 0; p + 1 < firstNode.size(); ++p) {
            Counts.push_back(block * (firstNode[p + 1] - firstNode[p]));
            Offsets.push_back(block * firstNode[p]);
        }
    }
};

// Rank 0's values (ignored elsewhere) into each process's share of `target`.
void Scatter(const double* values, Vec target, const Shares& shares) {
    PetscScalar* local = nullptr;
    Check(VecGetArray(target, &local));
    int rank = 0;
    MPI_Comm_rank(PETSC_COMM_WORLD, &rank);
    MPI_Scatterv(values, shares.Counts.data(), shares.Offsets.data(), MPI_DOUBLE, local,
                 shares.Counts[static_cast<size_t>(rank)], MPI_DOUBLE, 0, PETSC_COMM_WORLD);
    Check(VecRestoreArray(target, &local));
}

void Gather(Vec source, double* values, const Shares& shares) {
    const PetscScalar* local = nullptr;
    Check(VecGetArrayRead(source, &local));
    int rank = 0;
    MPI_Comm_rank(PETSC_COMM_WORLD, &rank);
    MPI_Gatherv(local, shares.Counts[static_cast<size_t>(rank)], MPI_DOUBLE, values,
                shares.Counts.data(), shares.Offsets.data(), MPI_DOUBLE, 0, PETSC_COMM_WORLD);
    Check(VecRestoreArrayRead(source, &local));
}

// The rigid motions as the multigrid's near-null space: rank 0's columns spread over the
// processes and made orthonormal, as PETSc wants them.
class NearNullSpace {
public:
    NearNullSpace(const Eigen::MatrixXd* modes, int count, Vec like, const Shares& shares)
        : vectors_(static_cast<size_t>(count)) {
        std::vector<Vec> list;
        for (int m = 0; m < count; ++m) {
            Vec& v = vectors_[static_cast<size_t>(m)];
            Check(VecDuplicate(like, &v));
            Scatter(modes ? modes->col(m).data() : nullptr, v, shares);
            // Gram-Schmidt against the ones before, twice for the rounding.
            for (int pass = 0; pass < 2 && m > 0; ++pass) {
                std::vector<PetscScalar> dots(static_cast<size_t>(m));
                Check(VecMDot(v, m, vectors_.data(), dots.data()));
                for (PetscScalar& d : dots)
                    d = -d;
                Check(VecMAXPY(v, m, dots.data(), vectors_.data()));
            }
            Check(VecNormalize(v, nullptr));
        }
        Check(MatNullSpaceCreate(PETSC_COMM_WORLD, PETSC_FALSE, count, vectors_.data(),
                                 space_.Out()));
    }
    ~NearNullSpace() {
        for (Vec& v : vectors_)
            if (v)
                VecDestroy(&v);
    }
    NearNullSpace(const NearNullSpace&) = delete;
    NearNullSpace& operator=(const NearNullSpace&) = delete;
    MatNullSpace Space() const { return space_; }

private:
    std::vector<Vec> vectors_;
    OwnedNullSpace space_;
};

QString Failure(int loadCase, KSPConvergedReason reason, int iterations, double residual) {
    const QString where = QStringLiteral("load case %1: ").arg(loadCase + 1);
    switch (reason) {
    case KSP_DIVERGED_INDEFINITE_PC:
    case KSP_DIVERGED_INDEFINITE_MAT:
    case KSP_DIVERGED_BREAKDOWN:
        return where + QStringLiteral("the iterative solution broke down after %1 iterations: "
                                      "the stiffness is not positive definite (a mechanism?)")
                           .arg(iterations);
    case KSP_DIVERGED_NANORINF:
        return where + QStringLiteral("the iterative solution produced values that are not "
                                      "finite after %1 iterations")
                           .arg(iterations);
    default:
        return where + QStringLiteral("the iterative solution did not converge in %1 iterations "
                                      "(relative residual %2)")
                           .arg(iterations)
                           .arg(residual, 0, 'g', 3);
    }
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The stiffness as PETSc's distributed matrix, each process holding its own rows.
void CreateStiffness(OwnedMat& stiffness, const Problem* problem, const Order& order,
                     const std::vector<int>& firstNode, const Shares& shares) {
    const MPI_Comm world = PETSC_COMM_WORLD;
    int rank = 0, size = 1;
    MPI_Comm_rank(world, &rank);
    MPI_Comm_size(world, &size);
    const PetscInt localRows = shares.Counts[static_cast<size_t>(rank)];
    const PetscInt rows = order.Block * static_cast<PetscInt>(order.Nodes);
    const Rows owned = DistributeRows(problem, firstNode, order.Block, rank, size);
    Check(MatCreate(world, stiffness.Out()));
    Check(MatSetSizes(stiffness, localRows, localRows, rows, rows));
    Check(MatSetBlockSize(stiffness, order.Block));
    Check(MatSetType(stiffness, MATAIJ));
    // Only the call for the matrix's kind (one process or several) acts; both copy.
    Check(MatSeqAIJSetPreallocationCSR(stiffness, owned.Start.data(), owned.Columns.data(),
                                       owned.Values.data()));
    Check(MatMPIAIJSetPreallocationCSR(stiffness, owned.Start.data(), owned.Columns.data(),
                                       owned.Values.data()));
    Check(MatSetOption(stiffness, MAT_SYMMETRIC, PETSC_TRUE));
    Check(MatSetOption(stiffness, MAT_SPD, PETSC_TRUE));
}

// Conjugate gradients preconditioned by smoothed aggregation (PETSc's GAMG), set up on the
// stiffness whose near-null space is already set.
void SetUpSolver(OwnedKsp& solver, Mat stiffness, const Order& order) {
    Check(KSPCreate(PETSC_COMM_WORLD, solver.Out()));
    Check(KSPSetOperators(solver, stiffness, stiffness));
    Check(KSPSetType(solver, KSPCG));
    // The residual itself, not the preconditioned one, is what the tolerance speaks of.
    Check(KSPSetNormType(solver, KSP_NORM_UNPRECONDITIONED));
    Check(KSPSetTolerances(solver, order.Tolerance, PETSC_DEFAULT, PETSC_DEFAULT,
                           order.MaxIterations));
    PC preconditioner = nullptr;
    Check(KSPGetPC(solver, &preconditioner));
    Check(PCSetType(preconditioner, PCGAMG));
    Check(PCGAMGSetType(preconditioner, PCGAMGAGG));
    Check(PCGAMGSetNSmooths(preconditioner, 1));
    // Weak couplings (under 2 % of the diagonals') do not join aggregates: stretched or
    // badly shaped elements then still coarsen along their stiff directions.
    PetscReal threshold[] = {0.02};
    Check(PCGAMGSetThreshold(preconditioner, threshold, 1));
    // PETSC_OPTIONS overrides any of this.
    Check(KSPSetFromOptions(solver));
    Check(KSPSetUp(solver));
}

// How the iteration for one load case ended.
struct CaseRun {
    int Iterations = 0;
    double Relative = 0; // the true residual relative to the load
    KSPConvergedReason Reason = KSP_CONVERGED_ITERATING;
};

// Solves K x = f from x = 0 for a load of norm `loadNorm` > 0. The recurrence's residual
// drifts from the true one; where the true one is still above the tolerance the iteration goes
// on from where it stands.
CaseRun SolveCase(KSP solver, Mat stiffness, Vec load, Vec solution, Vec residual,
                  PetscReal loadNorm, const Order& order) {
    CaseRun run;
    Check(KSPSetInitialGuessNonzero(solver, PETSC_FALSE));
    for (int round = 0; round < 4; ++round) {
        Check(KSPSetTolerances(solver, order.Tolerance, PETSC_DEFAULT, PETSC_DEFAULT,
                               order.MaxIterations - run.Iterations));
        Check(KSPSolve(solver, load, solution));
        PetscInt steps = 0;
        Check(KSPGetIterationNumber(solver, &steps));
        Check(KSPGetConvergedReason(solver, &run.Reason));
        run.Iterations += static_cast<int>(steps);
        Check(MatMult(stiffness, solution, residual));
        Check(VecAYPX(residual, -1, load));
        PetscReal residualNorm = 0;
        Check(VecNorm(residual, NORM_2, &residualNorm));
        run.Relative = residualNorm / loadNorm;
        if (run.Reason < 0 || !(run.Relative > order.Tolerance) ||
            run.Iterations >= order.MaxIterations)
            break;
        Check(KSPSetInitialGuessNonzero(solver, PETSC_TRUE));
    }
    return run;
}

// Rank 0's record of a load case: its solution (zero where a support holds) and how the
// iteration ended, a failure when it did not converge.
void RecordCase(const Problem& problem, int c, const CaseRun& run, PetscReal loadNorm,
                double tolerance) {
    Outcome& result = problem.Result;
    for (Eigen::Index i = 0; i < result.Solutions.rows(); ++i)
        if (problem.Given.Fixed[static_cast<size_t>(i)])
            result.Solutions(i, c) = 0;
    result.Iterations.push_back(run.Iterations);
    result.Residuals.push_back(run.Relative);
    const bool converged = loadNorm == 0 || (run.Reason > 0 && run.Relative <= tolerance);
    if (!converged && problem.Failure.isEmpty())
        problem.Failure = Failure(c, run.Reason, run.Iterations, run.Relative);
}

// The solve that every process takes part in; `problem` is rank 0's, null elsewhere.
void SolveTogether(const Order& order, const Problem* problem) {
    int rank = 0, size = 1;
    MPI_Comm_rank(PETSC_COMM_WORLD, &rank);
    MPI_Comm_size(PETSC_COMM_WORLD, &size);
    const auto started = std::chrono::steady_clock::now();
    const std::vector<int> firstNode = FirstNodes(order.Nodes, size);
    const Shares shares(firstNode, order.Block);
    OwnedMat stiffness;
    CreateStiffness(stiffness, problem, order, firstNode, shares);
    OwnedVec solution, load, residual;
    Check(MatCreateVecs(stiffness, solution.Out(), load.Out()));
    Check(VecDuplicate(solution, residual.Out()));
    const NearNullSpace rigidBody(problem ? &problem->Modes : nullptr, order.Modes, solution,
                                  shares);
    Check(MatSetNearNullSpace(stiffness, rigidBody.Space()));
    OwnedKsp solver;
    SetUpSolver(solver, stiffness, order);
    if (problem)
        problem->Result.SetupSeconds = SecondsSince(started);

    const auto solving = std::chrono::steady_clock::now();
    Eigen::VectorXd column;
    for (int c = 0; c < order.Cases; ++c) {
        if (problem) {
            column = problem->Loads.col(c);
            for (Eigen::Index i = 0; i < column.size(); ++i)
                if (problem->Given.Fixed[static_cast<size_t>(i)])
                    column[i] = 0;
        }
        Scatter(problem ? column.data() : nullptr, load, shares);
        PetscReal loadNorm = 0;
        Check(VecNorm(load, NORM_2, &loadNorm));
        Check(VecSet(solution, 0));
        const CaseRun run =
            loadNorm > 0 ? SolveCase(solver, stiffness, load, solution, residual, loadNorm, order)
                         : CaseRun{};
        Gather(solution, problem ? problem->Result.Solutions.col(c).data() : nullptr, shares);
        if (problem)
            RecordCase(*problem, c, run, loadNorm, order.Tolerance);
    }
    if (problem)
        problem->Result.SolveSeconds = SecondsSince(solving);
}

} // namespace

bool Available() {
    return true;
}

bool Start(int processes) {
    return StartAlone(LaunchedSize() > 1 ? 0 : processes - 1);
}

Outcome Solve(const System& system, const Eigen::MatrixXd& loads, const Settings& settings) {
    Outcome outcome;
    if (!system.Upper)
        throw SolverError(QStringLiteral("no stiffness matrix"));
    Eigen::SparseMatrix<double> copy;
    const Eigen::SparseMatrix<double>& upper = Compressed(*system.Upper, copy);
    if (const QString refused = Refusal(system, upper, loads, settings); !refused.isEmpty())
        throw SolverError(refused);
    if (!Start(settings.Processes))
        throw SolverError(QStringLiteral("MPI could not be started for the iterative solver"));
    int size = 1;
    MPI_Comm_size(PETSC_COMM_WORLD, &size);
    outcome.Processes = size;
    const Eigen::MatrixXd modes = RigidModes(system);
    Order order{
        Collective,         system.Nodes,   static_cast<int>(loads.cols()), settings.MaxIterations,
        settings.Tolerance, system.Block(), static_cast<int>(modes.cols())};
    outcome.Solutions = Eigen::MatrixXd::Zero(loads.rows(), loads.cols());
    if (size > 1)
        Broadcast(order, 0);
    QString failure;
    const Problem problem{system, upper, loads, modes, outcome, failure};
    try {
        SolveTogether(order, &problem);
    } catch (const PetscFailure& petsc) {
        // The others may be inside a collective call that never completes now.
        if (size > 1)
            MPI_Abort(PETSC_COMM_WORLD, petsc.Code);
        throw SolverError(QStringLiteral("the iterative solver failed (PETSc error %1)")
                              .arg(static_cast<int>(petsc.Code)));
    }
    if (!failure.isEmpty())
        throw SolverError(failure);
    return outcome;
}

Session::Session(char* argv[]) : rank_(LaunchedRank()), size_(LaunchedSize()) {
    if (HelperCommand(argv)) {
        // Started by a Solve of the program's first process: serve it.
        MPI_Comm parent = MPI_COMM_NULL;
        if (StartMpi())
            MPI_Comm_get_parent(&parent);
        MPI_Comm together = MPI_COMM_NULL;
        if (parent != MPI_COMM_NULL)
            MPI_Intercomm_merge(parent, 1, &together);
        if (together != MPI_COMM_NULL && StartPetsc(together)) {
            MPI_Comm_rank(together, &rank_);
            MPI_Comm_size(together, &size_);
        }
        // Else run by hand: the program goes on as rank 0 and refuses the argument.
        return;
    }
    if (size_ <= 1) {
        // Started by hand, not by a launcher: "mpirun -n 1" is the user's choice of one process.
        const bool launched = Announced({"OMPI_COMM_WORLD_SIZE", "PMI_SIZE"}, 0) > 0;
        if (argv && !launched) {
            prepared.Helpers = Parallel::Cores() > 1;
            prepared.Narrowable = !std::getenv(Transport) && !std::getenv(Isolated);
            LocalTransports(!prepared.Helpers);
            prepared.Transports = true;
        }
        return;
    }
    if (!StartMpi() || !StartPetsc(MPI_COMM_WORLD)) {
        // Alone after all: the first process runs the program, the others end.
        size_ = 1;
        return;
    }
    MPI_Comm_rank(PETSC_COMM_WORLD, &rank_);
    MPI_Comm_size(PETSC_COMM_WORLD, &size_);
}

Session::~Session() {
    if (PetscStarted() && rank_ == 0) {
        // The processes of an mpirun, or the helpers of the first solve.
        int size = 1;
        MPI_Comm_size(PETSC_COMM_WORLD, &size);
        if (size > 1) {
            Order stop;
            Broadcast(stop, 0);
        }
    }
    Finish();
}

int Session::Serve() {
    if (rank_ == 0 || size_ <= 1)
        return 0;
    for (;;) {
        Order order;
        Broadcast(order, rank_);
        if (order.Command == Stop)
            return 0;
        try {
            SolveTogether(order, nullptr);
        } catch (const PetscFailure& failure) {
            MPI_Abort(PETSC_COMM_WORLD, failure.Code);
        }
    }
}

} // namespace IterativeSolver

#endif
