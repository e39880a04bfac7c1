#include "MeshRecovery.h"

#include "Parallel.h"

MeshRecovery::MeshRecovery(const MeshModel& model, const MeshFamily& family,
                           std::vector<const Element*> elements)
    : family_(family), elements_(std::move(elements)), nodes_(model.Nodes.size()) {
    const ResultLayout own = elements_.front()->Layout();
    own_ = own.Count();
    layout_ = own + family.Derived();
    width_ = layout_.Count();
    summed_ = family.Summed(own_);
    around_.assign(nodes_, 0);
    for (const Element* element : elements_)
        for (int node : element->Nodes())
            ++around_[static_cast<size_t>(node)];
    const MeshFamily::Nodal nodal = family.NodalResults();
    cornersWanted_.assign(elements_.size(), nodal == MeshFamily::Nodal::Mean);
    if (nodal == MeshFamily::Nodal::Mean)
        return;
    // The patches of the mesh, prepared once for all load cases, and one set of sample slots
    // that each case fills again: on a mesh of a million elements they take hundreds of
    // megabytes to allocate and touch.
    plan_ = model.Plan();
    patches_ = std::make_unique<PatchRecovery>(plan_, elements_,
                                               nodal == MeshFamily::Nodal::QuadraticPatch
                                                   ? PatchRecovery::Degree::Quadratic
                                                   : PatchRecovery::Degree::Linear);
    samples_.assign(PatchRecovery::MostSamples * elements_.size() * static_cast<size_t>(own_), 0.0);
    // The elements at a node no patch reaches give their own corner values for its mean.
    for (size_t e = 0; e < elements_.size(); ++e)
        for (int node : elements_[e]->Nodes())
            if (patches_->Unfitted()[static_cast<size_t>(node)])
                cornersWanted_[e] = 1;
}

void MeshRecovery::Recover(const Gather& gather, FieldResults::Case& result, const Heats& heats) {
    result.Stresses.assign(elements_.size() * static_cast<size_t>(width_), 0.0);
    result.NodeStresses.assign(nodes_ * static_cast<size_t>(width_), 0.0);
    Sweep(gather, result, heats);
    for (size_t node = 0; node < nodes_; ++node) {
        double* at = result.NodeStresses.data() + node * static_cast<size_t>(width_);
        if (around_[node] > 0)
            for (int s = 0; s < summed_; ++s)
                at[s] /= around_[node];
    }
    if (patches_)
        Smooth(result);
    for (size_t node = 0; node < nodes_; ++node) {
        double* at = result.NodeStresses.data() + node * static_cast<size_t>(width_);
        if (around_[node] > 0)
            family_.Derive(at, at + summed_);
    }
}

void MeshRecovery::Sweep(const Gather& gather, FieldResults::Case& result, const Heats& heats) {
    constexpr size_t Grain = 1024;
    const int cores = Parallel::Cores();
    const bool sampled = family_.CentreFromSamples();
    const size_t width = static_cast<size_t>(width_), own = static_cast<size_t>(own_);
    std::vector<std::vector<double>> sums(Parallel::Parts(elements_.size(), cores, Grain));
    Parallel::ForRanges(
        elements_.size(), cores, Grain, [&](size_t part, size_t first, size_t last) {
            std::vector<double>& sum = sums[part];
            sum.assign(nodes_ * static_cast<size_t>(summed_), 0.0);
            for (size_t e = first; e < last; ++e) {
                const Element& element = *elements_[e];
                const Element::Vector ue = gather(element);
                double* centre = result.Stresses.data() + e * width;
                const auto heated = heats.empty() ? heats.end() : heats.find(e);
                const Element::Heat* heat = heated != heats.end() ? &heated->second : nullptr;
                if (sampled) {
                    // A triangle's one point is its centre; a quadrilateral's bilinear field
                    // through its four Gauss points has their mean there.
                    Element::Sampled samples = element.Sample(ue);
                    if (heat)
                        Unstrain(samples.Values, element.HeatSamples(*heat));
                    for (size_t s = 0; s < own; ++s) {
                        centre[s] = samples.Values.col(static_cast<Eigen::Index>(s)).mean();
                        for (Eigen::Index p = 0; patches_ && p < samples.Values.rows(); ++p)
                            samples_[(PatchRecovery::MostSamples * e + static_cast<size_t>(p)) *
                                         own +
                                     s] = samples.Values(p, static_cast<Eigen::Index>(s));
                    }
                    family_.Derive(centre, centre + summed_);
                }
                if (!sampled || cornersWanted_[e]) {
                    Element::Results block = element.Recover(ue);
                    if (heat)
                        Unstrain(block, element.HeatResults(*heat));
                    if (!sampled) {
                        for (size_t s = 0; s < width; ++s)
                            centre[s] = block(0, static_cast<Eigen::Index>(s));
                        if (heat)
                            family_.Derive(centre, centre + summed_);
                    }
                    if (!cornersWanted_[e])
                        continue;
                    const std::span<const int> corners = element.Nodes();
                    for (size_t a = 0; a < corners.size(); ++a)
                        family_.AddCorner(
                            e, a, block.data() + (a + 1) * static_cast<size_t>(block.cols()),
                            summed_,
                            sum.data() +
                                static_cast<size_t>(corners[a]) * static_cast<size_t>(summed_));
                }
            }
        });
    for (const std::vector<double>& sum : sums)
        for (size_t node = 0; node < nodes_; ++node)
            for (size_t s = 0; s < static_cast<size_t>(summed_); ++s)
                result.NodeStresses[node * width + s] +=
                    sum[node * static_cast<size_t>(summed_) + s];
}

// Takes the stresses of the free strains of the heat off an element's results: its summed
// columns (the tensor), from which the rest are derived again.
void MeshRecovery::Unstrain(Element::Results& results, const Element::Results& free) const {
    const Eigen::Index rows = std::min(results.rows(), free.rows());
    const Eigen::Index columns = std::min<Eigen::Index>({results.cols(), free.cols(), summed_});
    results.topLeftCorner(rows, columns) -= free.topLeftCorner(rows, columns);
}

void MeshRecovery::Smooth(FieldResults::Case& result) const {
    const size_t width = static_cast<size_t>(width_), own = static_cast<size_t>(own_);
    std::vector<double> mean(nodes_ * own, 0.0);
    for (size_t node = 0; node < nodes_; ++node)
        for (size_t s = 0; s < own; ++s)
            mean[node * own + s] = result.NodeStresses[node * width + s];
    std::vector<double> slope;
    const std::vector<double> smooth = patches_->Recover(samples_, own_, mean, &slope);
    for (size_t node = 0; node < nodes_; ++node) {
        double* at = result.NodeStresses.data() + node * width;
        for (size_t s = 0; s < own; ++s)
            at[s] = smooth[node * own + s];
        if (!patches_->Unfitted()[node])
            family_.FromSlopes(slope.data() + 2 * node * own, at);
    }
}
