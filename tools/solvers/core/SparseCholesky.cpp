#include "SparseCholesky.h"

#include <algorithm>
#include <cholmod.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <new>
#include <omp.h>
#include <sys/mman.h>
#include <thread>

namespace {

// CHOLMOD's memory. The factors of a large frame take hundreds of megabytes, touched for the
// first time page by page; in 4 KiB pages that alone can cost as much as the arithmetic. Large
// blocks are therefore mapped on their own and advised to use huge pages, which also come
// zeroed. Each block starts with a header that says how it was obtained.
struct alignas(16) BlockHeader { // as malloc aligns
    void* Base = nullptr;        // the mapping, or the malloc block
    size_t Mapped = 0;           // the length of the mapping; 0 for malloc
    size_t Size = 0;             // what was asked for
};

constexpr size_t HugePage = size_t{2} << 20;
constexpr size_t LargeBlock = 2 * HugePage;

BlockHeader* HeaderOf(void* block) {
    return static_cast<BlockHeader*>(block) - 1;
}

void* Allocate(size_t size, bool zero) {
    const size_t total = size + sizeof(BlockHeader);
    if (total < LargeBlock) {
        void* base = zero ? std::calloc(1, total) : std::malloc(total);
        if (!base)
            return nullptr;
        auto* header = new (base) BlockHeader{base, 0, size};
        return header + 1;
    }
    // Mapped with a huge page to spare, so that the block can start on a huge-page boundary.
    const size_t length = (total + HugePage - 1) / HugePage * HugePage + HugePage;
    void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
    const auto address = reinterpret_cast<uintptr_t>(base);
    const uintptr_t aligned = (address + HugePage - 1) / HugePage * HugePage;
    madvise(reinterpret_cast<void*>(aligned), length - (aligned - address), MADV_HUGEPAGE);
    // The header sits just before the first huge page, at the end of the spare one.
    auto* header = new (reinterpret_cast<void*>(aligned + HugePage - sizeof(BlockHeader)))
        BlockHeader{base, length, size};
    return header + 1;
}

void* Malloc(size_t size) {
    return Allocate(size, false);
}

void* Calloc(size_t count, size_t size) {
    if (size != 0 && count > SIZE_MAX / size)
        return nullptr;
    return Allocate(count * size, true);
}

void Free(void* block) {
    if (!block)
        return;
    const BlockHeader header = *HeaderOf(block);
    if (header.Mapped)
        munmap(header.Base, header.Mapped);
    else
        std::free(header.Base);
}

void* Realloc(void* block, size_t size) {
    if (!block)
        return Malloc(size);
    void* moved = Malloc(size);
    if (!moved)
        return nullptr;
    std::memcpy(moved, block, std::min(size, HeaderOf(block)->Size));
    Free(block);
    return moved;
}

// The cores that other programs keep busy now. The kernel's count of the threads that are
// running or ready at this moment (this one among them) says so better than the load average,
// which goes on counting for a minute the work that has ended: the checker's just before, or
// an earlier run's; a solver started after such work used to take one thread on an idle
// machine. The least of a few looks is kept, so that a thread that happens to wake at one
// moment does not count. Where that count is not to be had, the load average stands in.
int BusyCores() {
    int least = -1;
    for (int look = 0; look < 3; ++look) {
        std::ifstream file("/proc/loadavg");
        double averages[3] = {};
        int running = 0;
        char slash = 0;
        if (!(file >> averages[0] >> averages[1] >> averages[2] >> running >> slash) ||
            slash != '/') {
            least = -1;
            break;
        }
        least = look == 0 ? running - 1 : std::min(least, running - 1);
        if (look < 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (least >= 0)
        return least;
    double load = 0;
    if (getloadavg(&load, 1) != 1)
        load = 0;
    return std::max(0, static_cast<int>(std::lround(load)) - 1);
}

// The BLAS threads for the dense blocks of a factorisation of `work` operations: the cores
// that other programs leave idle, at least one. OpenBLAS's idle threads wait by spinning, so
// threads beyond the free cores slow the factorisation down instead of helping; so do they on
// a small factorisation, whose blocks are too small to share out (a plane frame of 100,000
// nodes takes 6e9 operations and is quicker on one thread, a space frame of 20,000 nodes 2e11
// and gains a fifth from a second). Another BLAS is left as it is configured.
void SetBlasThreads(double work) {
    using SetThreads = void (*)(int);
    const auto set = reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "openblas_set_num_threads"));
    if (!set)
        return;
    constexpr double SharedWork = 2e10;
    if (work < SharedWork) {
        set(1);
        return;
    }
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    set(std::clamp(cores - BusyCores(), 1, cores));
}

// CHOLMOD's view of a square matrix held as its upper triangle in sorted compressed columns
// (Eigen's layout); without values it is a pattern only.
cholmod_sparse UpperView(size_t size, size_t entries, int* columnStarts, int* rows,
                         double* values) {
    cholmod_sparse view{};
    view.nrow = view.ncol = size;
    view.nzmax = entries;
    view.p = columnStarts;
    view.i = rows;
    view.x = values;
    view.stype = 1;
    view.itype = CHOLMOD_INT;
    view.xtype = values ? CHOLMOD_REAL : CHOLMOD_PATTERN;
    view.dtype = CHOLMOD_DOUBLE;
    view.sorted = 1;
    view.packed = 1;
    return view;
}

} // namespace

struct SparseCholesky::Cholmod {
    cholmod_common Common;
    cholmod_factor* Factor = nullptr;

    Cholmod() {
        // CHOLMOD asks OpenMP for a fixed number of threads in some loops; on a machine that is
        // busy, or has fewer cores, that many spinning threads slow the factorisation down
        // several times. Letting the runtime choose gives it fewer threads when cores are busy.
        omp_set_dynamic(1);
        // Before CHOLMOD allocates anything: every block it frees must be one of these.
        SuiteSparse_config.malloc_func = Malloc;
        SuiteSparse_config.calloc_func = Calloc;
        SuiteSparse_config.realloc_func = Realloc;
        SuiteSparse_config.free_func = Free;
        cholmod_start(&Common);
        // Failures are reported to the caller, who words them for the user; CHOLMOD prints
        // nothing itself.
        Common.print = 0;
        Common.error_handler = nullptr;
        Common.supernodal = CHOLMOD_SUPERNODAL;
        // Supernodes of up to 16, 64 and 256 columns may take in some zeros (CHOLMOD's
        // defaults are 4, 16 and 48): a node block alone has 3 or 6 columns, and blocks that
        // small leave the BLAS mostly idle. The plane frame of 100,000 nodes factorises in
        // 0.54 s instead of 0.72 s; the 3-D frames, whose supernodes are large anyway, as before.
        Common.nrelax[0] = 16;
        Common.nrelax[1] = 64;
        Common.nrelax[2] = 256;
        Common.quick_return_if_not_posdef = 1;
    }
    ~Cholmod() {
        cholmod_free_factor(&Factor, &Common);
        cholmod_finish(&Common);
    }

    // The equations in the order that AMD or METIS (`nested`) gives the graph of the blocks;
    // empty when out of memory or without METIS.
    std::vector<int> BlockOrder(const SparseMatrix& upper, const std::vector<int>& starts,
                                bool nested) {
        const int blocks = static_cast<int>(starts.size()) - 1;
        std::vector<int> blockOf(static_cast<size_t>(upper.rows()));
        for (int b = 0; b < blocks; ++b)
            std::fill(blockOf.begin() + starts[b], blockOf.begin() + starts[b + 1], b);
        // The upper triangle of the blocks' pattern, column by column.
        std::vector<int> columns{0}, rows;
        std::vector<int> seen(static_cast<size_t>(blocks), -1);
        for (int b = 0; b < blocks; ++b) {
            const size_t first = rows.size();
            for (int e = starts[b]; e < starts[b + 1]; ++e) {
                for (SparseMatrix::InnerIterator it(upper, e); it; ++it) {
                    const int r = blockOf[static_cast<size_t>(it.row())];
                    if (seen[static_cast<size_t>(r)] != b) {
                        seen[static_cast<size_t>(r)] = b;
                        rows.push_back(r);
                    }
                }
            }
            std::sort(rows.begin() + static_cast<std::ptrdiff_t>(first), rows.end());
            columns.push_back(static_cast<int>(rows.size()));
        }
        cholmod_sparse pattern = UpperView(static_cast<size_t>(blocks), rows.size(), columns.data(),
                                           rows.data(), nullptr);
        std::vector<int> blockOrder(static_cast<size_t>(blocks));
        const int ordered = nested
                                ? cholmod_metis(&pattern, nullptr, 0, 1, blockOrder.data(), &Common)
                                : cholmod_amd(&pattern, nullptr, 0, blockOrder.data(), &Common);
        if (!ordered)
            return {};
        std::vector<int> order;
        order.reserve(static_cast<size_t>(upper.rows()));
        for (int b : blockOrder) {
            for (int e = starts[b]; e < starts[b + 1]; ++e)
                order.push_back(e);
        }
        return order;
    }

    // A view of Eigen's column vectors as a CHOLMOD dense matrix; CHOLMOD only reads it.
    static cholmod_dense View(const double* data, Eigen::Index rows, Eigen::Index cols) {
        cholmod_dense dense{};
        dense.nrow = static_cast<size_t>(rows);
        dense.ncol = static_cast<size_t>(cols);
        dense.nzmax = dense.nrow * dense.ncol;
        dense.d = dense.nrow;
        dense.x = const_cast<double*>(data);
        dense.xtype = CHOLMOD_REAL;
        dense.dtype = CHOLMOD_DOUBLE;
        return dense;
    }

    // Applies the solves of `systems` in turn (CHOLMOD_P, CHOLMOD_L, ...).
    Eigen::MatrixXd Apply(const double* data, Eigen::Index rows, Eigen::Index cols,
                          std::initializer_list<int> systems) {
        cholmod_dense in = View(data, rows, cols);
        cholmod_dense* current = &in;
        for (int system : systems) {
            cholmod_dense* next = cholmod_solve(system, Factor, current, &Common);
            if (current != &in)
                cholmod_free_dense(&current, &Common);
            if (!next)
                throw std::bad_alloc();
            current = next;
        }
        Eigen::MatrixXd out =
            Eigen::Map<const Eigen::MatrixXd>(static_cast<const double*>(current->x), rows, cols);
        if (current != &in)
            cholmod_free_dense(&current, &Common);
        return out;
    }
};

SparseCholesky::SparseCholesky() : cholmod_(std::make_unique<Cholmod>()) {}

SparseCholesky::~SparseCholesky() = default;

SparseCholesky::Result SparseCholesky::Factor(const SparseMatrix& upper,
                                              const std::vector<int>& blockStarts) {
    cholmod_common& common = cholmod_->Common;
    cholmod_free_factor(&cholmod_->Factor, &common);
    if (!upper.isCompressed())
        return Result::NoMemory; // never the case for what the caller assembles
    cholmod_sparse a =
        UpperView(static_cast<size_t>(upper.rows()), static_cast<size_t>(upper.nonZeros()),
                  const_cast<int*>(upper.outerIndexPtr()), const_cast<int*>(upper.innerIndexPtr()),
                  const_cast<double*>(upper.valuePtr()));

    common.nmethods = 1;
    common.postorder = 1;
    if (blockStarts.size() < 2) {
        common.method[0].ordering = CHOLMOD_AMD;
        cholmod_->Factor = cholmod_analyze(&a, &common);
    } else {
        common.method[0].ordering = CHOLMOD_GIVEN;
        const auto analyse = [&](bool nested) -> cholmod_factor* {
            std::vector<int> order = cholmod_->BlockOrder(upper, blockStarts, nested);
            return order.empty() ? nullptr
                                 : cholmod_analyze_p(&a, order.data(), nullptr, 0, &common);
        };
        cholmod_->Factor = analyse(false);
        // Minimum degree is quick and best on plane frames; on 3-D frames nested dissection
        // saves a third of the work and more. Where the work per factor entry shows a
        // 3-D-like problem (CHOLMOD's own rule for trying nested dissection), METIS orders the
        // blocks too and the cheaper factorisation is kept.
        if (cholmod_->Factor && common.fl >= 500 * common.lnz) {
            const double amdWork = common.fl, amdEntries = common.lnz;
            cholmod_factor* nested = analyse(true);
            if (nested && common.fl < amdWork) {
                cholmod_free_factor(&cholmod_->Factor, &common);
                cholmod_->Factor = nested;
            } else {
                cholmod_free_factor(&nested, &common);
                common.fl = amdWork;
                common.lnz = amdEntries;
                common.status = CHOLMOD_OK;
            }
        }
    }
    if (!cholmod_->Factor)
        return Result::NoMemory;
    {
        // A supernodal factor stores its blocks whole, zeros included: xsize values, plus the
        // row indices of its supernodes.
        const cholmod_factor* f = cholmod_->Factor;
        const double values = f->is_super ? static_cast<double>(f->xsize) : common.lnz;
        predicted_ = 8.0 * std::max(values, common.lnz) +
                     4.0 * static_cast<double>(f->is_super ? f->ssize : 0);
    }
    if (limit_ > 0 && predicted_ > limit_) {
        cholmod_free_factor(&cholmod_->Factor, &common);
        return Result::TooLarge;
    }
    SetBlasThreads(common.fl);
    cholmod_factorize(&a, cholmod_->Factor, &common);
    if (common.status == CHOLMOD_NOT_POSDEF)
        return Result::NotPositive;
    if (common.status != CHOLMOD_OK)
        return Result::NoMemory;
    return Result::Factored;
}

Eigen::VectorXd SparseCholesky::Pivots() const {
    const cholmod_factor* f = cholmod_->Factor;
    Eigen::VectorXd pivots = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(f->n));
    const double* x = static_cast<const double*>(f->x);
    if (f->is_super) {
        // Each supernode stores its columns as one dense block of all its rows.
        const int* super = static_cast<const int*>(f->super);
        const int* pi = static_cast<const int*>(f->pi);
        const int* px = static_cast<const int*>(f->px);
        for (size_t s = 0; s < f->nsuper; ++s) {
            const int rows = pi[s + 1] - pi[s];
            for (int k = super[s]; k < super[s + 1]; ++k) {
                const int local = k - super[s];
                const double l = x[px[s] + local + static_cast<size_t>(local) * rows];
                pivots[k] = l * l;
            }
        }
    } else {
        // A simplicial LL^T factor: the diagonal entry leads each column.
        const int* p = static_cast<const int*>(f->p);
        for (size_t k = 0; k < f->n; ++k)
            pivots[static_cast<Eigen::Index>(k)] = f->is_ll ? x[p[k]] * x[p[k]] : x[p[k]];
    }
    return pivots;
}

std::vector<int> SparseCholesky::Order() const {
    const cholmod_factor* f = cholmod_->Factor;
    const int* perm = static_cast<const int*>(f->Perm);
    return std::vector<int>(perm, perm + f->n);
}

int SparseCholesky::FailedPosition() const {
    return static_cast<int>(cholmod_->Factor->minor);
}

Eigen::MatrixXd SparseCholesky::Solve(const Eigen::MatrixXd& b) const {
    return cholmod_->Apply(b.data(), b.rows(), b.cols(), {CHOLMOD_A});
}

Eigen::VectorXd SparseCholesky::HalfSolve(const Eigen::VectorXd& x) const {
    return cholmod_->Apply(x.data(), x.rows(), 1, {CHOLMOD_P, CHOLMOD_L});
}

Eigen::VectorXd SparseCholesky::HalfSolveTransposed(const Eigen::VectorXd& x) const {
    return cholmod_->Apply(x.data(), x.rows(), 1, {CHOLMOD_Lt, CHOLMOD_Pt});
}

double SparseCholesky::FactorNonzeros() const {
    return cholmod_->Common.lnz;
}
