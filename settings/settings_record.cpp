#include "settings/settings_record.h"

Settings SettingsRecord;
