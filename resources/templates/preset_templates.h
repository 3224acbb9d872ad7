#pragma once

// The pages of the preset set and the Location page, each with its controls' ids. Every page
// is 230 x 190 dialog units with its controls inside one frame of 216 x 176 at 7,7.
#include "resources/templates/input_template.h"
#include "resources/templates/limiter_template.h"
#include "resources/templates/location_template.h"
#include "resources/templates/mod_check_template.h"
#include "resources/templates/mode_template.h"
#include "resources/templates/output_template.h"
#include "resources/templates/test_template.h"
