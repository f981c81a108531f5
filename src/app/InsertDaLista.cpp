#include "app/InsertDaLista.h"

TInsertDaListParams &InsertParams()
{
    static TInsertDaListParams params;
    return params;
}
