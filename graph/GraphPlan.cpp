#include "graph/GraphPlan.h"

namespace {

// Runs one list; false when the build ends.
bool RunSteps(const std::vector<PlanStep>& steps, GraphPlanPlatform& platform,
              GraphOutcome& outcome) {
  for (const PlanStep& step : steps) {
    if (!step.log.empty()) platform.Log(step.log);
    if (step.action == StepAction::LogOnly) continue;
    if (step.action == StepAction::Group) {
      if (!RunSteps(step.steps, platform, outcome)) return false;
      continue;
    }
    const GraphOutcome done = platform.Perform(step);
    outcome.Append(done);
    if (done.Succeeded()) continue;
    if (!step.fallback.empty()) return RunSteps(step.fallback, platform, outcome);
    if (step.failure) outcome.messages.push_back(*step.failure);
    if (step.buildGoesOn) continue;
    outcome.result = done.result;
    return false;
  }
  return true;
}

}  // namespace

GraphOutcome RunGraphPlan(const GraphPlan& plan, GraphPlanPlatform& platform) {
  GraphOutcome outcome;
  RunSteps(plan, platform, outcome);
  return outcome;
}
