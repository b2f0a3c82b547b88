/*
** Resources of LM_almanac, as its resource script would declare them: the
** page (dialog template 101, no controls) and the standard soft-key bar.
*/
#include "frame.h"
#include "standard_resources.h"

static const PfDialogTemplate almanacPage = {
    0x80C80040u, u"黄道吉日", 0, 0, 139, 137, u"Tahoma", 9, 0, nullptr};

static const PfResource almanacResources[] = {
    {PFRT_DIALOG, nullptr, 101, nullptr, PF_LANG_ZH_CN, &almanacPage, sizeof almanacPage},
    STANDARD_SHELL_RESOURCES,
};

LUMENO_EXPORT const PfResourceTable pfModuleResources = {
    sizeof almanacResources / sizeof almanacResources[0], almanacResources};
