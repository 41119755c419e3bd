#pragma once
// The 64-bit agent program inside DevAgent.dll: resource type RT_RCDATA, this id.
#define DEVAGENT_WOW64_AGENT_RESOURCE 64
