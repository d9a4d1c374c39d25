// acShellCtrls: the shell folder browser. Item identifier lists, shell item
// names, folder objects, root folders and the process-wide shell objects.
#pragma once

#include "shell/ComPtr.h"
#include "shell/acAlphaImageList.h"
#include "shell/acItemIdList.h"
#include "shell/acOleError.h"
#include "shell/acShellFolder.h"
#include "shell/acShellNames.h"
#include "shell/acShellRoot.h"
#include "shell/acShellTypes.h"
#include "shell/acShellUnit.h"
