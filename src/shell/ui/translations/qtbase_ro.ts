<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Qt's own texts in Romanian, in the program's style (no diacritics): the file and folder
     dialogs, the standard buttons, the edit menu of text fields, the print dialog and the print preview. -->
<TS version="2.1" language="ro_RO">
<context>
    <name>QFileDialog</name>
    <message>
        <source>Look in:</source>
        <translation>Cauta in:</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nume fisier:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Fisiere de tipul:</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Director:</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Deschide</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Deschide</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salveaza</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>&amp;Alege</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Salveaza ca</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>Alegeti directorul</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Inapoi</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>Inapoi</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Inainte</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>Inainte</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Directorul parinte</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>Directorul parinte</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Director nou</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>Creeaza un director nou</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>Afiseaza ca lista</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Detalii</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>Afiseaza cu detalii</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Director nou</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>Director &amp;nou</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Redenumeste</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Sterge</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Sterge</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Elimina</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>Arata fisierele &amp;ascunse</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Locuri</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>Locuri si directoare preferate</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fisiere</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Toate fisierele (*)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Toate fisierele (*)</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Directoare</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>Locuri recente</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Necunoscut</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Director</translation>
    </message>
    <message>
        <source>File Folder</source>
        <translation>Director</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fisier</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>Fisier %1</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Scurtatura</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 exista deja.
Doriti sa il inlocuiti?</translation>
    </message>
    <message>
        <source>%1
Directory not found.
Please verify the correct directory name was given.</source>
        <translation>%1
Directorul nu exista.
Verificati numele directorului.</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
Fisierul nu exista.
Verificati numele fisierului.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete '%1'?</source>
        <translation>Chiar stergeti '%1'?</translation>
    </message>
    <message>
        <source>'%1' is write protected.
Do you want to delete it anyway?</source>
        <translation>'%1' este protejat la scriere.
Il stergeti totusi?</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>Directorul nu poate fi sters.</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Name</source>
        <translation>Nume</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Marime</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Data modificarii</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octeti</translation>
    </message>
    <message>
        <source>%1 byte(s)</source>
        <translation>%1 octeti</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Nume de fisier incorect</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salveaza</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Salveaza tot</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Deschide</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Da</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Da la &amp;toate</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nu</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>N&amp;u la toate</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abandoneaza</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Reincearca</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignora</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Inchide</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuleaza</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Renunta</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajutor</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplica</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reseteaza</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Valorile initiale</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Anuleaza</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Reface</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Taie</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiaza</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Lipeste</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Sterge</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Selecteaza tot</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Anuleaza</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Reface</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Taie</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiaza</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Lipeste</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Sterge</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Selecteaza tot</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>Copiaza &amp;legatura</translation>
    </message>
</context>
<context>
    <name>QAbstractSpinBox</name>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Selecteaza tot</translation>
    </message>
    <message>
        <source>&amp;Step up</source>
        <translation>&amp;Creste</translation>
    </message>
    <message>
        <source>Step &amp;down</source>
        <translation>&amp;Scade</translation>
    </message>
</context>
<context>
    <name>QDialogButtonBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajutor</translation>
    </message>
    <message>
        <source>Show Details...</source>
        <translation>Arata detaliile...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Ascunde detaliile...</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print Preview</source>
        <translation>Previzualizare</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Tipareste</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Toata pagina</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Latimea paginii</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Mareste</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Micsoreaza</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portret</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Peisaj</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Configurare pagina</translation>
    </message>
    <message>
        <source>Page setup</source>
        <translation>Configurare pagina</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Prima pagina</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Ultima pagina</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Pagina anterioara</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Pagina urmatoare</translation>
    </message>
    <message>
        <source>Show single page</source>
        <translation>O singura pagina</translation>
    </message>
    <message>
        <source>Show facing pages</source>
        <translation>Doua pagini alaturate</translation>
    </message>
    <message>
        <source>Show overview of all pages</source>
        <translation>Toate paginile</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>Export in PDF</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Print</source>
        <translation>Tipareste</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Tipareste</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Toate paginile</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>Paginile impare</translation>
    </message>
    <message>
        <source>Even Pages</source>
        <translation>Paginile pare</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>Tipareste in fisier (PDF)</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>Fisier local</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Director</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Necunoscut</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Imprimanta</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nume:</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>P&amp;roprietati</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Locatie:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Previzualizare</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Tip:</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>&amp;Fisier de iesire:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Copii</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>Pagini de tiparit</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>Toate</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>Paginile de la</translation>
    </message>
    <message>
        <source>to</source>
        <translation>pana la</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Paginile</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Pagina curenta</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Selectia</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>Setul de pagini:</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>Iesire</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Copii:</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>Asamblate</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>In ordine inversa</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optiuni</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>Culori</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Tonuri de gri</translation>
    </message>
    <message>
        <source>Duplex Printing</source>
        <translation>Tiparire fata-verso</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>Tiparire fata-verso</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Fara</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Fara</translation>
    </message>
    <message>
        <source>Long side</source>
        <translation>Latura lunga</translation>
    </message>
    <message>
        <source>Short side</source>
        <translation>Latura scurta</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Legare pe latura lunga</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Legare pe latura scurta</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Hartie</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>Format pagina:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Latime:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Inaltime:</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>Sursa hartiei:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientare</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portret</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Peisaj</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>Peisaj inversat</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>Portret inversat</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Margini</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>marginea de sus</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>marginea din stanga</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>marginea din dreapta</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>marginea de jos</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>Asezare in pagina</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>Ordinea paginilor:</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>Pagini pe foaie:</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizat</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>Milimetri (mm)</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>Toli (in)</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>Puncte (pt)</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Pagina</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avansat</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Printer Properties</source>
        <translation>Proprietatile imprimantei</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>Optiunile lucrarii</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Conflicte de asezare in pagina</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avansat</translation>
    </message>
</context>
<context>
    <name>QUnixPrintWidget</name>
    <message>
        <source>Print To File ...</source>
        <translation>Tiparire in fisier ...</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 este un director.
Alegeti alt nume de fisier.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 exista deja.
Doriti sa il inlocuiti?</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>In fisierul %1 nu se poate scrie.
Alegeti alt nume de fisier.</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>Fisier local</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>Scrie fisier PDF</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>&amp;Optiuni &gt;&gt;</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>&amp;Optiuni &lt;&lt;</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>Tiparire in fisier ...</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>Scrie fisier PDF</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Pagini scrise gresit</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Asezare in pagina</translation>
    </message>
</context>
<context>
    <name>QCupsJobWidget</name>
    <message>
        <source>Job</source>
        <translation>Lucrarea</translation>
    </message>
    <message>
        <source>Job Control</source>
        <translation>Controlul lucrarii</translation>
    </message>
    <message>
        <source>Scheduled printing:</source>
        <translation>Tiparire programata:</translation>
    </message>
    <message>
        <source>Billing information:</source>
        <translation>Informatii de facturare:</translation>
    </message>
    <message>
        <source>Job priority:</source>
        <translation>Prioritatea lucrarii:</translation>
    </message>
    <message>
        <source>Banner Pages</source>
        <translation>Pagini de separare</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>La sfarsit:</translation>
    </message>
    <message>
        <source>Start:</source>
        <translation>La inceput:</translation>
    </message>
    <message>
        <source>Print Immediately</source>
        <translation>Tipareste imediat</translation>
    </message>
    <message>
        <source>Hold Indefinitely</source>
        <translation>Amana pe termen nedefinit</translation>
    </message>
    <message>
        <source>Specific Time</source>
        <translation>La o anumita ora</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Fara</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
</context>
</TS>
