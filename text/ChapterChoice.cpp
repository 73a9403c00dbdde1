#include "ChapterChoice.h"

#include <algorithm>
#include <array>

namespace chapters {
namespace {

// Chapter rules need two numbers in order; a volume rule, which may have but one volume so far,
// needs one.
constexpr int ChapterEvidence = 2;
constexpr int VolumeEvidence = 1;

struct RuleEvidence {
    std::vector<Candidate> Kept;
    int InOrder = 0;

    bool operator<(const RuleEvidence& other) const {
        return InOrder != other.InOrder ? InOrder < other.InOrder : Kept.size() < other.Kept.size();
    }
};

std::vector<Candidate> Spaced(const std::vector<Candidate>& all, int rule) {
    std::vector<Candidate> kept;
    for (const Candidate& c : all) {
        if (c.Rule != rule || c.Listed)
            continue;
        if (kept.empty() || c.Offset - kept.back().Offset >= MinSpacing)
            kept.push_back(c);
    }
    return kept;
}

// A number out of step between two in step (4 between 5 and 6) is a line that mentions a
// chapter, not a heading.
std::vector<Candidate> WithoutStrays(const std::vector<Candidate>& kept) {
    std::vector<Candidate> out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const bool stray = i > 0 && i + 1 < kept.size() &&
                           kept[i].Number != kept[i - 1].Number + 1 &&
                           kept[i + 1].Number == kept[i - 1].Number + 1;
        if (!stray)
            out.push_back(kept[i]);
    }
    return out;
}

int CountInOrder(const std::vector<Candidate>& kept) {
    int n = 0;
    for (std::size_t i = 0; i < kept.size(); ++i)
        n += kept[i].Number == 1 || (i > 0 && kept[i].Number == kept[i - 1].Number + 1);
    return n;
}

RuleEvidence Weigh(const std::vector<Candidate>& all, int rule) {
    RuleEvidence e;
    e.Kept = WithoutStrays(Spaced(all, rule));
    e.InOrder = CountInOrder(e.Kept);
    return e;
}

void Append(std::vector<Chapter>& out, const std::vector<Candidate>& from, std::uint8_t level) {
    for (const Candidate& c : from)
        out.push_back({c.Offset, c.Length, level});
}

} // namespace

std::vector<Chapter> ChooseChapters(const std::vector<Candidate>& candidates,
                                    const std::vector<Chapter>& sections) {
    std::array<RuleEvidence, RuleCount> evidence;
    for (int rule = 0; rule < RuleSpecial; ++rule)
        evidence[rule] = Weigh(candidates, rule);
    const RuleEvidence* chapters = nullptr;
    const RuleEvidence* volumes = nullptr;
    for (int rule = 0; rule < RuleSpecial; ++rule) {
        const RuleEvidence*& best = IsVolumeRule(rule) ? volumes : chapters;
        if (!best || *best < evidence[rule])
            best = &evidence[rule];
    }
    if (chapters && chapters->InOrder < ChapterEvidence)
        chapters = nullptr;
    if (volumes && volumes->InOrder < (chapters ? VolumeEvidence : ChapterEvidence))
        volumes = nullptr;
    if (!chapters && !volumes)
        return sections;

    std::vector<Chapter> out;
    if (volumes)
        Append(out, volumes->Kept, VolumeLevel);
    if (chapters) {
        Append(out, chapters->Kept, ChapterLevel);
        Append(out, Spaced(candidates, RuleSpecial), ChapterLevel);
    }
    std::sort(out.begin(), out.end(),
              [](const Chapter& a, const Chapter& b) { return a.Offset < b.Offset; });
    return out;
}

} // namespace chapters
