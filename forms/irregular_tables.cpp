#include "forms/irregular_tables.h"

namespace forms {

// clang-format off
const char kEnglishIrregulars[] = R"(
arise arose arisen
awake awoke awoken
be was/were been am/is/are/being
bear bore born/borne
beat beat beaten
become became become
begin began begun
bend bent bent
bet bet bet
bid bid bid
bind bound bound
bite bit bitten
bleed bled bled
blow blew blown
break broke broken
breed bred bred
bring brought brought
build built built
burn burnt burnt
burst burst burst
buy bought bought
cast cast cast
catch caught caught
choose chose chosen
cling clung clung
come came come
cost cost cost
creep crept crept
cut cut cut
deal dealt dealt
dig dug dug
do did done does
draw drew drawn
dream dreamt dreamt
drink drank drunk
drive drove driven
dwell dwelt dwelt
eat ate eaten
fall fell fallen
feed fed fed
feel felt felt
fight fought fought
find found found
flee fled fled
fling flung flung
fly flew flown flies
forbid forbade forbidden
forget forgot forgotten
forgive forgave forgiven
freeze froze frozen
get got got/gotten
give gave given
go went gone goes
grind ground ground
grow grew grown
hang hung hung
have had had has
hear heard heard
hide hid hidden
hit hit hit
hold held held
hurt hurt hurt
keep kept kept
kneel knelt knelt
know knew known
lay laid laid
lead led led
lean leant leant
leap leapt leapt
learn learnt learnt
leave left left
lend lent lent
let let let
lie lay lain lying
light lit lit
lose lost lost
make made made
mean meant meant
meet met met
mistake mistook mistaken
overcome overcame overcome
pay paid paid
put put put
quit quit quit
read read read
rid rid rid
ride rode ridden
ring rang rung
rise rose risen
run ran run
say said said says
see saw seen
seek sought sought
sell sold sold
send sent sent
set set set
sew sewed sewn
shake shook shaken
shed shed shed
shine shone shone
shoot shot shot
show showed shown
shrink shrank shrunk
shut shut shut
sing sang sung
sink sank sunk
sit sat sat
slay slew slain
sleep slept slept
slide slid slid
sling slung slung
smell smelt smelt
sow sowed sown
speak spoke spoken
speed sped sped
spell spelt spelt
spend spent spent
spill spilt spilt
spin spun spun
spit spat spat
split split split
spoil spoilt spoilt
spread spread spread
spring sprang sprung
stand stood stood
steal stole stolen
stick stuck stuck
sting stung stung
stink stank stunk
stride strode stridden
strike struck struck/stricken
string strung strung
strive strove striven
swear swore sworn
sweep swept swept
swell swelled swollen
swim swam swum
swing swung swung
take took taken
teach taught taught
tear tore torn
tell told told
think thought thought
throw threw thrown
thrust thrust thrust
tread trod trodden
understand understood understood
undertake undertook undertaken
wake woke woken
wear wore worn
weave wove woven
weep wept wept
win won won
wind wound wound
withdraw withdrew withdrawn
wring wrung wrung
write wrote written
can could
will would
shall should
may might
man men
woman women
child children
foot feet
tooth teeth
goose geese
mouse mice
louse lice
ox oxen
person people
die dice
penny pence
leaf leaves
knife knives
wife wives
life lives
wolf wolves
half halves
self selves
calf calves
shelf shelves
thief thieves
loaf loaves
criterion criteria
phenomenon phenomena
analysis analyses
crisis crises
thesis theses
datum data
medium media
cactus cacti
fungus fungi
nucleus nuclei
radius radii
index indices
appendix appendices
good better best
well better best
bad worse worst
ill worse worst
much more most
many more most
little less least
far farther/further farthest/furthest
old elder eldest
I me my mine myself
you your yours yourself yourselves
he him his himself
she her hers herself
it its itself
we us our ours ourselves
they them their theirs themselves
)";

const char kGermanVerbs[] = R"(
backen buk gebacken bäckt
befehlen befahl befohlen befiehlt befiehlst
beginnen begann begonnen
beißen biss gebissen
bergen barg geborgen birgt
bersten barst geborsten birst
betrügen betrog betrogen
bewegen bewog bewogen
biegen bog gebogen
bieten bot geboten
binden band gebunden
bitten bat gebeten
blasen blies geblasen bläst
bleiben blieb geblieben
braten briet gebraten brät
brechen brach gebrochen bricht brichst
brennen brannte gebrannt
bringen brachte gebracht
denken dachte gedacht
dringen drang gedrungen
dürfen durfte gedurft darf darfst
empfehlen empfahl empfohlen empfiehlt empfiehlst
erschrecken erschrak erschrocken erschrickt
essen aß gegessen isst
fahren fuhr gefahren fährt fährst
fallen fiel gefallen fällt fällst
fangen fing gefangen fängt fängst
fechten focht gefochten ficht
finden fand gefunden
flechten flocht geflochten
fliegen flog geflogen
fliehen floh geflohen
fließen floss geflossen
fressen fraß gefressen frisst
frieren fror gefroren
gebären gebar geboren
geben gab gegeben gibt gibst
gedeihen gedieh gediehen
gehen ging gegangen
gelingen gelang gelungen
gelten galt gegolten gilt
genesen genas genesen
genießen genoss genossen
geschehen geschah geschehen geschieht
gewinnen gewann gewonnen
gießen goss gegossen
gleichen glich geglichen
gleiten glitt geglitten
graben grub gegraben gräbt
greifen griff gegriffen
haben hatte gehabt hat hast hätte hätten
halten hielt gehalten hält hältst
hängen hing gehangen
heben hob gehoben
heißen hieß geheißen
helfen half geholfen hilft hilfst
kennen kannte gekannt
klingen klang geklungen
kneifen kniff gekniffen
kommen kam gekommen käme
können konnte gekonnt kann kannst könnte
kriechen kroch gekrochen
laden lud geladen lädt
lassen ließ gelassen lässt
laufen lief gelaufen läuft läufst
leiden litt gelitten
leihen lieh geliehen
lesen las gelesen liest
liegen lag gelegen
lügen log gelogen
meiden mied gemieden
messen maß gemessen misst
mögen mochte gemocht mag magst möchte möchten möchtest
müssen musste gemusst muss musst müsste
nehmen nahm genommen nimmt nimmst
nennen nannte genannt
pfeifen pfiff gepfiffen
preisen pries gepriesen
raten riet geraten rät
reiben rieb gerieben
reißen riss gerissen
reiten ritt geritten
rennen rannte gerannt
riechen roch gerochen
ringen rang gerungen
rufen rief gerufen
saufen soff gesoffen säuft
schaffen schuf geschaffen
scheiden schied geschieden
scheinen schien geschienen
schieben schob geschoben
schießen schoss geschossen
schlafen schlief geschlafen schläft schläfst
schlagen schlug geschlagen schlägt schlägst
schleichen schlich geschlichen
schließen schloss geschlossen
schmeißen schmiss geschmissen
schmelzen schmolz geschmolzen schmilzt
schneiden schnitt geschnitten
schreiben schrieb geschrieben
schreien schrie geschrien
schreiten schritt geschritten
schweigen schwieg geschwiegen
schwimmen schwamm geschwommen
schwinden schwand geschwunden
schwingen schwang geschwungen
schwören schwor geschworen
sehen sah gesehen sieht siehst
sein war gewesen bin bist ist sind seid wäre wären wärst
senden sandte gesandt
singen sang gesungen
sinken sank gesunken
sinnen sann gesonnen
sitzen saß gesessen
sollen sollte gesollt soll sollst
spinnen spann gesponnen
sprechen sprach gesprochen spricht sprichst
springen sprang gesprungen
stechen stach gestochen sticht
stehen stand gestanden
stehlen stahl gestohlen stiehlt
steigen stieg gestiegen
sterben starb gestorben stirbt stirbst
stinken stank gestunken
stoßen stieß gestoßen stößt
streichen strich gestrichen
streiten stritt gestritten
tragen trug getragen trägt trägst
treffen traf getroffen trifft triffst
treiben trieb getrieben
treten trat getreten tritt trittst
trinken trank getrunken
tun tat getan tut
verderben verdarb verdorben verdirbt
vergessen vergaß vergessen vergisst
verlieren verlor verloren
verschwinden verschwand verschwunden
verzeihen verzieh verziehen
wachsen wuchs gewachsen wächst
waschen wusch gewaschen wäscht
weichen wich gewichen
weisen wies gewiesen
wenden wandte gewandt
werben warb geworben wirbt
werden wurde/ward geworden wird wirst würde würden würdest
werfen warf geworfen wirft wirfst
wiegen wog gewogen
winden wand gewunden
wissen wusste gewusst weiß weißt wüsste
wollen wollte gewollt will willst
ziehen zog gezogen
zwingen zwang gezwungen
)";

const char kGermanIrregulars[] = R"(
gut besser beste besten bester bestes bestem
viel mehr meiste meisten
groß größer größte größten
hoch höher höchste höchsten hohe hohen hoher hohes
nah näher nächste nächsten
gern lieber liebste liebsten
ich mich mir
du dich dir
er ihn ihm
sie ihr ihnen
wir uns
)";

const char kCroatianIrregulars[] = R"(
biti sam si je jest jesam jesi jesmo jeste jesu smo ste su bio bila bilo bili bile budem budeš bude budemo budete budu bih bi bismo biste nisam nisi nije nismo niste nisu
ići idem ideš ide idemo idete idu išao išla išlo išli išle
htjeti hoću hoćeš hoće hoćemo hoćete htio htjela htjelo htjeli htjele ću ćeš će ćemo ćete neću nećeš neće
moći mogu možeš može možemo možete mogao mogla moglo mogli mogle
reći rečem rekao rekla reklo rekli rekle
doći dođem dođeš dođe dođemo dođete dođu došao došla došlo došli došle
pisati pišem pišeš piše pišemo pišete pišu
jesti jedem jedeš jede jedemo jedete jedu jeo jela jelo jeli jele
čovjek ljudi ljude ljudima čovjeka čovjeku čovjekom
dijete djeca djece djeci djecom djeteta djetetu
oko oči očiju očima
uho uši ušiju ušima
brat braća braće braći
gospodin gospoda gospode
dobar bolji bolja bolje najbolji
zao gori gora gore najgori
velik veći veća veće najveći
malen manji manja manje najmanji
ja mene me meni mi mnom
ti tebe te tebi tobom
on njega ga njemu mu njim
ona nje je njoj joj nju
mi nas nama
vi vas vama
oni njih ih njima im
)";
// clang-format on

}  // namespace forms
