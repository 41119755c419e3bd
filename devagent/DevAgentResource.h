#pragma once
// The 64-bit helper inside DevAgent.dll: resource type RT_RCDATA, this id.
#define DEVAGENT_HELPER_RESOURCE 64
