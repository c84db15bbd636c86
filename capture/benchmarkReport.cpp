// Benchmark statistics: medians and 95th percentiles per segment.
#include "capture/benchmarkReport.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace capture {

namespace {

struct cSummary {
    size_t frames = 0;
    double medianMs = 0.0;
    double p95Ms = 0.0;
    double engineMs = 0.0;
    double glMs = 0.0;
    double finishMs = 0.0;
};

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

cSummary summarise(const std::vector<const cFrameCost*>& frames)
{
    std::vector<double> total, engine, gl, finish;
    for (const cFrameCost* f : frames) {
        total.push_back(f->frameMs);
        engine.push_back(f->engineMs);
        gl.push_back(f->frameMs - f->engineMs);
        finish.push_back(f->glFinishMs);
    }
    return {frames.size(),         percentile(total, 0.5), percentile(total, 0.95),
            percentile(engine, 0.5), percentile(gl, 0.5),  percentile(finish, 0.5)};
}

std::map<int32_t, std::vector<const cFrameCost*>> bySegment(const std::vector<cFrameCost>& frames)
{
    std::map<int32_t, std::vector<const cFrameCost*>> groups;
    for (const cFrameCost& f : frames) {
        groups[f.segmentFromMs].push_back(&f);
    }
    return groups;
}

std::vector<const cFrameCost*> all(const std::vector<cFrameCost>& frames)
{
    std::vector<const cFrameCost*> every;
    for (const cFrameCost& f : frames) {
        every.push_back(&f);
    }
    return every;
}

std::string row(const char* name, const cSummary& s)
{
    char line[160];
    std::snprintf(line, sizeof line, "%-14s %7zu %10.2f %10.2f %10.3f %10.2f %10.2f\n", name, s.frames,
                  s.medianMs, s.p95Ms, s.engineMs, s.glMs, s.finishMs);
    return line;
}

std::string jsonSummary(const cSummary& s)
{
    char text[260];
    std::snprintf(text, sizeof text,
                  "\"frames\": %zu, \"medianMs\": %.3f, \"p95Ms\": %.3f, \"medianEngineMs\": %.3f, "
                  "\"medianGlMs\": %.3f, \"medianGlFinishMs\": %.3f",
                  s.frames, s.medianMs, s.p95Ms, s.engineMs, s.glMs, s.finishMs);
    return text;
}

} // namespace

std::string cBenchmarkReport::table() const
{
    std::string out = "segment from    frames   frame ms     p95 ms  engine ms      GL ms glFinish ms  (medians but p95)\n";
    for (const auto& [from, frames] : bySegment(this->frames)) {
        char name[24];
        std::snprintf(name, sizeof name, "%d ms", from);
        out += row(name, summarise(frames));
    }
    out += row("all", summarise(all(frames)));
    char tail[160];
    std::snprintf(tail, sizeof tail, "start-up (process start to first frame): %.0f ms; peak RSS: %ld MB\n",
                  startupMs, peakRssKb / 1024);
    return out + tail;
}

std::string cBenchmarkReport::json() const
{
    std::string out = "{\n  \"fromMs\": " + std::to_string(fromMs) + ",\n  \"toMs\": " + std::to_string(toMs) +
                      ",\n  \"fps\": " + std::to_string(fps) + ",\n  \"segments\": [\n";
    const auto groups = bySegment(frames);
    size_t i = 0;
    for (const auto& [from, segmentFrames] : groups) {
        out += "    {\"fromMs\": " + std::to_string(from) + ", " + jsonSummary(summarise(segmentFrames)) + "}";
        out += ++i < groups.size() ? ",\n" : "\n";
    }
    char tail[200];
    std::snprintf(tail, sizeof tail, "  ],\n  \"total\": {%s},\n  \"startupMs\": %.1f,\n  \"peakRssKb\": %ld\n}\n",
                  jsonSummary(summarise(all(frames))).c_str(), startupMs, peakRssKb);
    return out + tail;
}

} // namespace capture
