#include "fleet/fleet_commands.h"

#include "fleet/fleet_summary.h"
#include "fleet/intune_rules.h"
#include "fleet/intune_settings.h"

int RunFleetCommand(Platform& platform, const FleetRequest& request, const FleetContext& context,
                    FleetOutput& output) {
    switch (request.action) {
        case FleetRequest::Action::Intune:
            return RunIntuneSettings(platform, request, context, output);
        case FleetRequest::Action::IntuneRules:
            return RunIntuneRules(platform, request, output);
        case FleetRequest::Action::Summary:
            break;
    }
    return RunSummary(platform, request, context, output);
}
