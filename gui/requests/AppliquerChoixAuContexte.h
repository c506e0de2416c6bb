#pragma once

class CContexteEtude;
class CTraitement;

// After OK in a request dialog, the analyst's choices become the context's defaults, so that the
// next dialog opens with them: as the dialog's member of the family says (RequestDialogKind), the
// row lines go onto the row question (with the rows' Total), the column lines onto the column
// question (with the columns' Total), and the row calculations become the defaults of the
// calculation list of the request's family. A request that no dialog builds changes nothing.
void AppliquerChoixAuContexte(const CTraitement& request, CContexteEtude& context);
