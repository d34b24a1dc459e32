#include "documents/driver_documents.h"

#include "model/run_files.h"

namespace scenario {
namespace {

// The notes sheet that goes with the scenario, plain ASCII.
constexpr std::string_view kLines[] = {
    "        Treno 47302/47304 sul percorso Dorvallo - Velsara - Brisente (R7)",
    "",
    " Precisazioni:",
    " - Il treno 47302 e' un regionale che collega Dorvallo a Velsara; a Velsara cambia numero e ",
    "   prosegue come 47304 fino a Brisente. Circola tutti i giorni feriali, con partenze da Dorvallo",
    "   a ore alterne.",
    " - Il treno ferma in tutte le stazioni. La sosta prevista e' di 30 secondi.",
    "   Al Bivio Cerreta non si ferma: e' solo un punto di controllo dell'orario.",
    " - Nella realta` il treno e' composto da una locomotiva e quattro carrozze: il peso reale ",
    "   puo' essere diverso da quello impostato nella simulazione.",
    " - Rispettare l'orario non e' facile: le fermate sono ravvicinate e i tempi di percorrenza ",
    "   sono stretti. Solo a Velsara l'orario concede 2 minuti di recupero (colonna Rec della ",
    "   scheda treno), che servono per il cambio di numero.",
    " - Da Velsara a Brisente il treno percorre il tracciato della vecchia linea per Brisente, ",
    "   aperta molti anni prima del tratto da Dorvallo a Velsara.",
    " - Le impostazioni relative alle velocita' massime ed i segnali sono di pura fantasia.",
    " - I numerosi sottovia che la linea incontra nel percorso sono simulati con gallerie.",
    "   I cartelli indicano il nome della strada sotto cui passano i sottovia. ",
    "   I sottovia ferroviari sono indicati dalla dicitura 'SOTTOVIA F.S....'.",
    " - L'orario e' ricavato da quello in vigore sulla linea; il tracciato con le curve e le ",
    "   pendenze e' stato ricostruito da carte topografiche ed e' quindi approssimato, come la ",
    "   posizione delle stazioni.",
    " - La progressiva chilometrica decresce da Dorvallo (km 35,000) fino al km 1,000, un ",
    "   chilometro prima di Velsara; qui si passa alla progressiva della vecchia linea, che ",
    "   riparte dal km 3,500 e cresce fino a Brisente (km 84,500).",
    "   Per questo sulla scheda treno Velsara si trova al km 4,500.",
    "",
    "Buon viaggio",
    "",
    kEndMarker,
};

}  // namespace

LineTable notes_sheet_table() { return kLines; }

void dati_note(const RouteModel& model, const std::filesystem::path& dir) {
  write_table(run_files(dir, model.scenario_name, model.train_number).notes, notes_sheet_table());
}

}  // namespace scenario
