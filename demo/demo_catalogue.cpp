#include "demo/demo_catalogue.h"

#include <string_view>

namespace quillet {

namespace {

// The lines of a text written with "\n" between them.
std::vector<std::string> Lines(std::string_view Text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= Text.size()) {
        const std::size_t end = std::min(Text.find('\n', start), Text.size());
        lines.emplace_back(Text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The mailbox owner and the people who write to them.
const TDemoPerson Me{"Demo User", "demo@example.net"};
const TDemoPerson Margaret{"Margaret Holloway", "margaret.holloway@example.org"};
const TDemoPerson Tobias{"Tobias Wren", "tobias.wren@example.com"};
const TDemoPerson Priya{"Priya Raman", "priya@example.net"};
const TDemoPerson Owen{"Owen Blackwood", "owen.blackwood@example.org"};
const TDemoPerson Harriet{"", "h.lyle@example.org"};
const TDemoPerson Gus{"Gus Penhaligon", "gus@example.com"};
const TDemoPerson Nadia{"Nadia Ferreby", "nadia.ferreby@example.com"};
const TDemoPerson Marcus{"Marcus Ellery", "marcus.ellery@example.com"};
const TDemoPerson Ines{"Ines Calloway", "ines.calloway@example.com"};
const TDemoPerson Rooms{"Room bookings", "rooms@example.com"};
const TDemoPerson Sunita{"Sunita Brackley", "sunita.brackley@example.net"};
const TDemoPerson Ramblers{"Hollowfield Ramblers", "ramblers@lists.example.org"};
const TDemoPerson Joerg{"Jörg Wäldele", "joerg.waeldele@example.org"};
const TDemoPerson Kaethe{"Strübing, Käthe", "k.struebing@example.net"};
const TDemoPerson Elodie{"Élodie Marchetti", "elodie.marchetti@example.org"};
const TDemoPerson Benoit{"Benoît Lacombe", "benoit.lacombe@example.com"};
const TDemoPerson Tatiana{"Татьяна Воробьёва", "t.vorobyova@example.net"};
const TDemoPerson Arkady{"Аркадий Лунин", "arkady.lunin@example.com"};
const TDemoPerson Aoi{"山科 葵", "aoi.yamashina@example.com"};
const TDemoPerson Hayato{"鷹野 隼人", "hayato.takano@example.net"};
const TDemoPerson Lucia{"Lucía Berenguer", "lucia.berenguer@example.org"};
const TDemoPerson Ignacio{"Ignacio Villalba", "ignacio.villalba@example.net"};
const TDemoPerson Lantern{"The Lantern Post", "digest@news.example.com"};
const TDemoPerson Greenhouse{"Greenhouse Weekly", "hello@greenhouse.example.net"};
const TDemoPerson Bakery{"Fenwick Lane Bakery", "orders@fenwick-lane.example.com"};
const TDemoPerson Buecherei{"Bücherei am Markt", "newsletter@buecherei.example.org"};
const TDemoPerson Parcels{"Parcel Desk", "notify@parcels.example.com"};
const TDemoPerson Recipes{"Recipe Circle", "no-reply@recipes.example.org"};

// Offsets from UTC of the senders' clocks, in minutes.
constexpr int London = 0, CentralEurope = 60, Moscow = 180, Tokyo = 540, NewYork = -300, Mumbai = 330;

const char* const EnglishAttribution = "On {date}, {name} wrote:";

TDemoDraft Draft(const TDemoPerson& From, std::vector<TDemoPerson> To, std::vector<TDemoPerson> Cc,
                 std::string Subject, int Zone, std::string_view Body) {
    TDemoDraft draft;
    draft.Letter.From = From;
    draft.Letter.To = std::move(To);
    draft.Letter.Cc = std::move(Cc);
    draft.Letter.Subject = std::move(Subject);
    draft.Letter.Body = Lines(Body);
    draft.ZoneMinutes = Zone;
    return draft;
}

TDemoDraft& Encoded(TDemoDraft& Draft, std::string Charset, char WordEncoding, TBodyEncoding Encoding) {
    Draft.Letter.Charset = std::move(Charset);
    Draft.Letter.WordEncoding = WordEncoding;
    Draft.Letter.Encoding = Encoding;
    return Draft;
}

TDemoDraft& Answering(TDemoDraft& Draft, int Parent, std::string Attribution = EnglishAttribution) {
    Draft.Parent = Parent;
    Draft.Attribution = std::move(Attribution);
    return Draft;
}

void AddBulkFields(TDemoDraft& Draft, const std::string& ListId, const std::string& Unsubscribe) {
    Draft.Letter.ExtraFields.push_back({"List-Id", ListId});
    Draft.Letter.ExtraFields.push_back({"List-Unsubscribe", Unsubscribe});
    Draft.Letter.ExtraFields.push_back({"Precedence", "bulk"});
}

TDemoDraft LanternPost() {
    TDemoDraft d =
        Draft(Lantern, {Me}, {}, "The Lantern Post — Issue 48: night markets and a lost bicycle", London,
              R"(THE LANTERN POST - your weekly round-up, issue 48

In this issue
  1. The night market returns to Canal Street
  2. A bicycle, a bakery and an unexpected reunion
  3. Ask the gardener: why won't my basil behave?
  4. What's on this week

1. THE NIGHT MARKET RETURNS
After a long winter break, the Friday night market opens again from 6pm.
Forty stalls this year, including a cheese maker, two noodle bars and a
man who sharpens knives while you wait. Bring cash - the card reader at
the gate has "opinions".

2. A BICYCLE, A BAKERY AND AN UNEXPECTED REUNION
When reader Alys left her blue bicycle outside a bakery three years ago,
she never expected to see it again. Last Tuesday it was parked outside
the same bakery, with a new bell and a basket of lemons. The full story
is on our website.

3. ASK THE GARDENER
"My basil wilts every afternoon, even though I water it daily." Basil
hates wet feet more than it hates heat. Water in the morning, let the
top of the soil dry out, and move the pot out of the midday sun.

4. WHAT'S ON
  Mon   Quiz night at the Copper Kettle, 8pm
  Wed   Repair cafe at the library, 2pm-5pm
  Sat   Park run, 9am, meet at the bandstand

You are receiving this because you signed up at lanternpost.example.com.
Unsubscribe: https://lanternpost.example.com/leave)");
    Encoded(d, "UTF-8", 'Q', TBodyEncoding::QuotedPrintable);
    d.Letter.Html = Lines(R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>The Lantern Post, issue 48</title></head>
<body style="font-family: Georgia, serif; max-width: 40em">
<h1>The Lantern Post &mdash; issue 48</h1>
<ol>
<li><a href="#market">The night market returns to Canal Street</a></li>
<li><a href="#bicycle">A bicycle, a bakery and an unexpected reunion</a></li>
<li><a href="#basil">Ask the gardener: why won&rsquo;t my basil behave?</a></li>
<li><a href="#whatson">What&rsquo;s on this week</a></li>
</ol>
<h2 id="market">The night market returns</h2>
<p>After a long winter break, the Friday night market opens again from 6pm.
Forty stalls this year, including a cheese maker, two noodle bars and a
man who sharpens knives while you wait.</p>
<h2 id="bicycle">A bicycle, a bakery and an unexpected reunion</h2>
<p>When reader Alys left her blue bicycle outside a bakery three years ago,
she never expected to see it again. <a href="https://lanternpost.example.com/48/bicycle">Read the full story</a>.</p>
<h2 id="basil">Ask the gardener</h2>
<p>Basil hates wet feet more than it hates heat. Water in the morning and
move the pot out of the midday sun.</p>
<h2 id="whatson">What&rsquo;s on</h2>
<table>
<tr><td>Mon</td><td>Quiz night at the Copper Kettle, 8pm</td></tr>
<tr><td>Wed</td><td>Repair caf&eacute; at the library, 2pm&ndash;5pm</td></tr>
<tr><td>Sat</td><td>Park run, 9am, meet at the bandstand</td></tr>
</table>
<p style="font-size: small"><a href="https://lanternpost.example.com/leave">Unsubscribe</a></p>
</body></html>)");
    d.Letter.ReturnPath = "bounces+48@news.example.com";
    AddBulkFields(d, "The Lantern Post <weekly.news.example.com>", "<https://lanternpost.example.com/leave>");
    return d;
}

TDemoDraft GreenhouseWeekly() {
    TDemoDraft d = Draft(Greenhouse, {Me}, {}, "Ten plants that shrug off a late frost", NewYork,
                         R"(GREENHOUSE WEEKLY
Ten plants that shrug off a late frost

A cold snap after a warm week is the gardener's oldest enemy. These ten
will sulk for a day and carry on.

 1. Wallflowers - flower on through light frost and smell of honey.
 2. Pansies and violas - the flowers may flop overnight but lift again
    by mid-morning.
 3. Hellebores - evergreen, and they bloom when little else does.
 4. Broad beans - sown in autumn, they stand through most winters.
 5. Kale - frost actually sweetens the leaves.
 6. Primroses - happy in damp shade and cold soil.
 7. Snowdrops - the name says it all.
 8. Rosemary - give it a sheltered wall and sharp drainage.
 9. Heather - wants acid soil, but laughs at the cold.
10. Spring onions - sow a short row every three weeks.

THIS WEEK'S JOB
Keep a roll of fleece by the back door. When the forecast drops below
two degrees, throw it over anything in flower and weigh the corners down
with bricks. Take it off in the morning so the plants don't cook.

FROM THE MAILBAG
"Is it too late to plant garlic?" Not if the ground isn't frozen. Spring
planted garlic makes smaller bulbs, but they keep just as well.

Happy gardening,
The Greenhouse Weekly team

--
You are subscribed as demo@example.net.
Change your preferences or unsubscribe: https://greenhouse.example.net/prefs)");
    d.Letter.ReturnPath = "bounce-gw@greenhouse.example.net";
    AddBulkFields(d, "Greenhouse Weekly <weekly.greenhouse.example.net>",
                  "<https://greenhouse.example.net/prefs>, <mailto:leave@greenhouse.example.net>");
    return d;
}

TDemoDraft BuechereiNews() {
    TDemoDraft d =
        Draft(Buecherei, {Me}, {}, "Neuigkeiten aus der Bücherei: Lesenacht und Flohmarkt", CentralEurope,
              R"(Liebe Leserinnen und Leser,

hier sind die Neuigkeiten aus Ihrer Bücherei am Markt.

LESENACHT FÜR KINDER
Am Freitag in zwei Wochen dürfen Kinder von acht bis zwölf Jahren mit
Taschenlampe und Schlafsack in der Bücherei übernachten. Es gibt eine
Schatzsuche zwischen den Regalen und um Mitternacht eine Gruselgeschichte.
Anmeldung bitte an der Theke, die Plätze sind begrenzt.

BÜCHERFLOHMARKT
Am Samstag verkaufen wir aussortierte Bücher, Hörbücher und Zeitschriften
zu kleinen Preisen. Der Erlös geht in neue Spiele für die Kinderecke.

NEUE ÖFFNUNGSZEITEN
Ab dem kommenden Monat haben wir dienstags länger geöffnet:
  Montag            geschlossen
  Dienstag          10 bis 20 Uhr
  Mittwoch–Freitag  10 bis 18 Uhr
  Samstag           10 bis 14 Uhr

UNSER TIPP DES MONATS
Ein schmaler Roman über einen Leuchtturmwärter, der jeden Abend Briefe an
Schiffe schreibt, die nie vorbeikommen. Still, komisch und überraschend
tröstlich. Zu finden im Regal „Neuerwerbungen“.

Herzliche Grüße
Ihr Team der Bücherei am Markt

--
Sie erhalten diesen Newsletter, weil Sie ihn in der Bücherei bestellt haben.
Abbestellen: https://buecherei.example.org/newsletter)");
    Encoded(d, "UTF-8", 'Q', TBodyEncoding::QuotedPrintable);
    d.Letter.ReturnPath = "newsletter-bounce@buecherei.example.org";
    AddBulkFields(d, "<aktuelles.buecherei.example.org>", "<https://buecherei.example.org/newsletter>");
    return d;
}

} // namespace

std::vector<TDemoDraft> InitialDrafts() {
    std::vector<TDemoDraft> drafts;
    drafts.reserve(25);

    // 0
    drafts.push_back(LanternPost());

    // 1: the start of a long thread
    drafts.push_back(Draft(Margaret, {Me, Tobias, Priya}, {Owen}, "Allotment plan for the spring", London,
                           R"(Hello all,

Now that the frost seems to be behind us, I've drawn up a rough plan for
the plot. Nothing is fixed yet, so please shout if something looks wrong.

Bed 1 (by the shed): early potatoes, then leeks after the harvest.
Bed 2: broad beans and peas along the fence, lettuce in between.
Bed 3: onions, garlic and shallots - the garlic is already in.
Bed 4: squash and courgettes, with marigolds on the edges.
Bed 5: herbs, strawberries and whatever Tobias brings back from his aunt.

Jobs for the next few weekends:

- turn the compost and spread the finished heap on beds 1 and 4
- mend the water butt (the tap has been dripping since October)
- replace two of the raised-bed boards, which have gone soft
- sow tomatoes indoors; I have seed for three varieties

I can do Saturday mornings. Could everyone reply with the days that suit
them, and I'll put a rota together?

Best wishes,
Margaret)"));

    // 2: German, Latin-1 words and a quoted-printable body
    {
        TDemoDraft d = Draft(Joerg, {Me}, {Kaethe}, "Grüße vom Bodensee", CentralEurope, R"(Hallo zusammen,

viele Grüße vom Bodensee! Das Wetter ist deutlich besser als vorhergesagt.
Heute sind wir mit den Rädern am Ufer entlang bis zur Fähre gefahren und
haben unterwegs in einem kleinen Café den besten Käsekuchen der Saison
gegessen.

Morgen geht es auf die Insel, falls der Wind mitspielt. Übermorgen wollen
wir eigentlich wandern, aber die Füße sagen etwas anderes.

Käthe, könntest du bitte nach den Pflanzen auf dem Balkon schauen? Der
Schlüssel liegt wie immer beim Nachbarn im Erdgeschoss. Die Tomaten
brauchen jeden zweiten Tag Wasser, die Kräuter eher weniger.

Wir sind am Sonntagabend zurück. Bis bald und herzliche Grüße
Jörg)");
        drafts.push_back(Encoded(d, "ISO-8859-1", 'Q', TBodyEncoding::QuotedPrintable));
    }

    // 3
    {
        TDemoDraft d = Draft(Bakery, {Me}, {}, "Your order 48213 is on its way", London, R"(Hello,

Good news: your order is on its way.

Order number:  48213
Delivery:      tomorrow, between 8:00 and 10:00
Address:       12 Example Row, Flat 3

  1 x  Seeded sourdough loaf           4.20
  6 x  Cinnamon buns                   9.00
  1 x  Lemon drizzle cake (large)     12.50
                                     ------
  Total                               25.70

If nobody is home, our driver will leave the box with a neighbour or in
a safe place and put a note through your door.

Thank you for ordering from Fenwick Lane Bakery.)");
        d.Letter.ExtraFields.push_back({"Reply-To", "help@fenwick-lane.example.com"});
        drafts.push_back(d);
    }

    // 4
    {
        TDemoDraft d =
            Draft(Tobias, {Margaret}, {Me, Priya, Owen}, "Re: Allotment plan for the spring", London,
                  R"(Hi Margaret,

Looks good to me. I can do Sunday afternoons, and I'll bring the spare
boards from my garage for bed 3. My aunt has promised rhubarb crowns,
so maybe bed 5 needs a corner kept free.

Tobias)");
        drafts.push_back(Answering(d, 1));
    }

    // 5: Russian in KOI8-R
    {
        TDemoDraft d = Draft(Tatiana, {Me}, {}, "Отчёт за неделю", Moscow, R"(Добрый день!

Высылаю короткий отчёт за неделю.

Сделано:
 - обновили расписание дежурств;
 - закончили перенос архива на новый сервер;
 - провели встречу с поставщиком по поводу сроков.

В работе:
 - проверка счетов за прошлый месяц;
 - подготовка презентации к пятнице.

Вопросы:
 Нужно решить, кто будет в отпуске в последнюю неделю месяца.
 Пожалуйста, напишите до среды.

С уважением,
Татьяна Воробьёва)");
        drafts.push_back(Encoded(d, "KOI8-R", 'B', TBodyEncoding::EightBit));
    }

    // 6: a bare address, and body lines that begin with a dot (one is nothing but a dot)
    drafts.push_back(Draft(Harriet, {Me}, {}, "dotfiles for the new laptop", London, R"(Hi,

Here are the settings files you asked for. Save each one in your home
folder under the name shown - the leading dot is part of the name:

.bashrc        shell aliases and the prompt
.inputrc       case-insensitive completion
.gitconfig     name, e-mail and a few shortcuts

Fun fact from the old days: in the classic Unix mail program you finish
a message by typing a line with nothing but a full stop on it, like this:
.
and off it goes. Mail servers still use the same trick today, which is
why a line like the one above travels with an extra dot in front.
...and that's the whole story.

H.)"));

    // 7: French, UTF-8 quoted-printable
    {
        TDemoDraft d = Draft(Elodie, {Me, Benoit}, {{"Margaux Delorme", "margaux.delorme@example.org"}},
                             "Compte rendu de la réunion de mardi", CentralEurope, R"(Bonjour à tous,

Voici le compte rendu de notre réunion de mardi soir.

Présents : Benoît, Élodie, Margaux, Théo (excusée : Inès)

1. Fête de quartier
   La date du samedi 14 est confirmée. Benoît s'occupe de la buvette,
   Théo des tables et des bancs. Il nous manque encore quelqu'un pour
   l'affichage.

2. Budget
   Il reste 312 € sur le compte de l'association. La mairie nous
   rembourse les frais d'impression sur présentation des factures.

3. Jardin partagé
   Les nouvelles parcelles seront attribuées par tirage au sort le mois
   prochain. Pensez à vous inscrire avant la fin de la semaine.

Prochaine réunion : mardi en quinze, même heure, même endroit.

Bonne soirée,
Élodie)");
        drafts.push_back(Encoded(d, "UTF-8", 'Q', TBodyEncoding::QuotedPrintable));
    }

    // 8: the thread goes on ("Re: Re:" from a mail program that adds one every time)
    {
        TDemoDraft d =
            Draft(Priya, {Tobias, Margaret}, {Me, Owen}, "Re: Re: Allotment plan for the spring", Mumbai,
                  R"(Sundays are tricky for me, but I'm free most weekday evenings after six
and can take the watering on Tuesdays and Thursdays.

Also - I found a plumber's washer that should fit the water butt tap.
I'll leave it in the shed.

Priya)");
        drafts.push_back(Answering(d, 4));
    }

    // 9: Japanese in ISO-2022-JP
    {
        TDemoDraft d = Draft(Aoi, {Me}, {}, "会議の議事録について", Tokyo, R"(デモさん

お疲れさまです。山科です。

昨日の定例会議の議事録をお送りします。
内容をご確認のうえ、修正があれば金曜日までにご連絡ください。

一、新しい受付システムの導入時期
　　来月の第二週から試験運用を開始します。
二、会議室の予約方法
　　共有カレンダーでの予約に統一します。
三、次回の定例会議
　　再来週の火曜日、午後二時からです。

よろしくお願いいたします。

山科 葵)");
        drafts.push_back(Encoded(d, "ISO-2022-JP", 'B', TBodyEncoding::SevenBit));
    }

    // 10: the German answer, quoting below
    {
        TDemoDraft d = Draft(Kaethe, {Joerg}, {Me}, "AW: Grüße vom Bodensee", CentralEurope, R"(Hallo Jörg,

na, das klingt ja herrlich! Um die Pflanzen kümmere ich mich gern. Ich
gehe am Mittwoch und am Freitag vorbei und gieße alles gründlich.

Bring uns bitte ein Stück von dem Käsekuchen mit - oder wenigstens das
Rezept.

Liebe Grüße
Käthe)");
        Encoded(d, "ISO-8859-1", 'Q', TBodyEncoding::QuotedPrintable);
        drafts.push_back(Answering(d, 2, "Am {numeric} schrieb {name}:"));
    }

    // 11: Spanish in Latin-1, 8-bit body
    {
        TDemoDraft d =
            Draft(Lucia, {Me, Ignacio}, {}, "¿Quedamos el jueves para cenar?", CentralEurope, R"(¡Hola!

Hace siglos que no nos vemos. ¿Te apetece cenar el jueves? Han abierto
un sitio nuevo de tapas cerca de la plaza y dicen que las croquetas son
espectaculares.

Yo salgo del trabajo a las siete, así que podríamos quedar a las ocho y
media. Si prefieres otro día, dímelo y lo cambiamos sin problema.

Un abrazo,
Lucía)");
        drafts.push_back(Encoded(d, "ISO-8859-1", 'Q', TBodyEncoding::EightBit));
    }

    // 12: a sender whose mail program writes a date nobody can read
    {
        TDemoDraft d = Draft(Gus, {Me}, {}, "Borrowed ladder", London, R"(Hi,

I still have your long ladder from when we did the gutters. Shall I drop
it round on Saturday, or do you want it sooner?

Also, my email program has started doing odd things with dates, so if
this one shows up in the wrong place in your inbox, that's why.

Gus)");
        d.Letter.DateText = "yesterday-ish";
        drafts.push_back(d);
    }

    // 13
    {
        TDemoDraft d =
            Draft(Owen, {Priya, Tobias, Margaret}, {Me}, "Re: Re: Re: Allotment plan for the spring", NewYork,
                  R"(Count me in for the compost. Fair warning: I have a bad back this month,
so I'll need someone to do the lifting while I do the supervising.

Owen)");
        drafts.push_back(Answering(d, 8));
    }

    // 14: a mailing list
    {
        TDemoDraft d = Draft(Sunita, {Ramblers}, {}, "[Hollowfield Ramblers] Route for Sunday", London,
                             R"(Hello everyone,

Sunday's walk is the circular route over the common and back along the
canal, about 11 miles with one steep climb near the start.

Meeting point: the car park by the old mill, 9:30 sharp.
Bring: lunch, water, waterproofs - the forecast says showers after two.
Boots rather than trainers: the path by the lock is still muddy.

We'll stop at the tea room by the bridge around 1pm for anyone who
prefers to buy lunch.

If you're coming for the first time, reply to me directly so I know to
look out for you.

Sunita

-- 
Hollowfield Ramblers - walks every other Sunday
To leave this list, send a message to ramblers-leave@lists.example.org)");
        d.Letter.ReturnPath = "ramblers-bounces@lists.example.org";
        d.Letter.ExtraFields = {{"Reply-To", "ramblers@lists.example.org"},
                                {"List-Id", "Hollowfield Ramblers <ramblers.lists.example.org>"},
                                {"List-Unsubscribe", "<mailto:ramblers-leave@lists.example.org>"},
                                {"Precedence", "list"}};
        drafts.push_back(d);
    }

    // 15: Russian in UTF-8 with a base64 body
    {
        TDemoDraft d = Draft(Arkady, {Me}, {}, "Дача в субботу", Moscow, R"(Привет!

В субботу собираемся на даче, будем жарить шашлыки и, если повезёт
с погодой, купаться в озере. Приезжай к двенадцати, от станции
можно дойти пешком минут за двадцать.

Возьми с собой что-нибудь тёплое: вечером у воды прохладно.
Если нужно, могу встретить на машине.

Напиши, сможешь ли.

Аркадий)");
        drafts.push_back(Encoded(d, "UTF-8", 'B', TBodyEncoding::Base64));
    }

    // 16
    {
        TDemoDraft d = Draft(Ignacio, {Lucia}, {Me}, "Re: ¿Quedamos el jueves para cenar?", CentralEurope,
                             R"(¡Me apunto! Las ocho y media me viene perfecto. Reservo mesa para tres,
que los jueves se llena enseguida.

Ignacio)");
        Encoded(d, "UTF-8", 'Q', TBodyEncoding::QuotedPrintable);
        drafts.push_back(Answering(d, 11, "El {numeric}, {name} escribió:"));
    }

    // 17
    drafts.push_back(GreenhouseWeekly());

    // 18: several recipients in To and Cc
    drafts.push_back(Draft(Nadia, {Me, Tobias, Priya, Marcus}, {Ines, Rooms},
                           "Invitation: design review, Thursday 14:00", NewYork, R"(Hi all,

I'd like to walk through the new settings screens before we freeze the
layout. Please come with questions - nothing is final yet.

When:   Thursday, 14:00-15:00
Where:  Meeting room 2 (second floor), or the usual video link
Agenda:
  1. What changed since the last review (10 min)
  2. Walk-through of the account set-up flow (20 min)
  3. Open questions and next steps (30 min)

Mockups are in the shared folder under "reviews". If you can't make it,
leave comments on the mockups and I'll raise them for you.

Thanks,
Nadia)"));

    // 19: the fifth message of the thread
    {
        TDemoDraft d =
            Draft(Margaret, {Owen, Priya, Tobias}, {Me}, "Re: Re: Re: Re: Allotment plan for the spring",
                  London, R"(Thank you all - here is the rota, starting this weekend:

  Saturday mornings    Margaret (and you, if you can make it)
  Sunday afternoons    Tobias
  Tue / Thu evenings   Priya (watering)
  Compost duty         Owen supervising, Tobias lifting

Seed trays are on the windowsill at number 14. Please don't water them
from above - the seedlings are still very small.

Margaret)");
        drafts.push_back(Answering(d, 13));
    }

    // 20: Japanese in UTF-8
    {
        TDemoDraft d = Draft(Hayato, {Me}, {{"受付 総務部", "soumu@example.net"}}, "来週の出張の件", Tokyo,
                             R"(デモさん

お疲れさまです。鷹野です。

来週の大阪出張の件ですが、新幹線と宿の手配が済みましたので
ご連絡します。

　出発：月曜日 8時03分 東京駅発
　宿泊：駅前のビジネスホテル（二泊）
　帰着：水曜日 夕方の予定

現地での打ち合わせ資料は、共有フォルダに入れておきました。
何か足りないものがあれば教えてください。

鷹野)");
        drafts.push_back(Encoded(d, "UTF-8", 'B', TBodyEncoding::EightBit));
    }

    // 21
    drafts.push_back(BuechereiNews());

    // 22: names in four scripts on one Cc line
    {
        TDemoDraft d =
            Draft(Priya, {Me}, {Elodie, Joerg, Tatiana, Aoi}, "Contacts for the conference", Mumbai,
                  R"(Hi,

As promised, here are the people to look out for at the conference.
I've copied them in so you have each other's addresses.

- Élodie runs the volunteers' desk and knows where everything is.
- Jörg is giving the talk on Thursday morning about the archive project.
- Tatiana (Татьяна) is coordinating the translation team.
- Aoi (山科 葵) is presenting the poster on the reception system.

I'll be there from Wednesday evening. Let's meet at registration.

Priya)");
        drafts.push_back(Encoded(d, "UTF-8", 'B', TBodyEncoding::EightBit));
    }

    // 23
    {
        TDemoDraft d = Draft(Benoit, {Me}, {}, "Photos du week-end", CentralEurope, R"(Salut,

Comme promis, les photos du week-end sont en ligne dans le dossier
partagé. Il y en a une où tout le monde a les yeux ouverts, c'est un
petit miracle.

À bientôt,
Benoît)");
        drafts.push_back(Encoded(d, "UTF-8", 'Q', TBodyEncoding::EightBit));
    }

    // 24: the newest
    drafts.push_back(Draft(Tobias, {Me}, {}, "Are you free for a call?", London, R"(Hi,

Are you free for a quick call this afternoon? Ten minutes is enough -
it's about the boards for the raised beds.

T.)"));

    return drafts;
}

TDemoDraft LaterDraft(int Number) {
    constexpr int Kinds = 8;
    const int round = Number / Kinds;
    switch (Number % Kinds) {
    case 0: {
        const std::string parcel = std::to_string(730514 + 37 * round);
        return Draft(Parcels, {Me}, {}, "Parcel " + parcel + " has been delivered", London,
                     "Hello,\n\nYour parcel " + parcel +
                         " was delivered today and left in your porch.\n"
                         "A photo of where we left it is in your account.\n\n"
                         "Not you? Reply to this message within 48 hours.\n\nParcel Desk");
    }
    case 1: {
        TDemoDraft d = Draft(Kaethe, {Me}, {}, "Kurze Frage zum Wochenende", CentralEurope, R"(Hallo,

hast du am Samstag Zeit? Wir wollen den Schrank aus dem Keller nach oben
tragen und könnten eine dritte Hand gut gebrauchen. Danach gibt es
Kuchen, versprochen.

Grüße
Käthe)");
        return Encoded(d, "ISO-8859-1", 'Q', TBodyEncoding::QuotedPrintable);
    }
    case 2: {
        const std::string count = std::to_string(2 + round % 5);
        TDemoDraft d = Draft(Recipes, {Me}, {}, count + " new comments on your lemon drizzle recipe", NewYork,
                             "Hi Demo,\n\nYour recipe \"Lemon drizzle, the lazy way\" has " + count +
                                 " new comments.\n\n"
                                 "  \"Made it twice this week. The second one didn't last an hour.\"\n\n"
                                 "Read and reply: https://recipes.example.org/r/lemon-drizzle\n\n"
                                 "-- \nRecipe Circle - you can turn these notices off in your settings.");
        AddBulkFields(d, "<notices.recipes.example.org>", "<https://recipes.example.org/settings>");
        return d;
    }
    case 3: {
        TDemoDraft d = Draft(Lucia, {Me}, {Ignacio}, "Fotos de la cena", CentralEurope, R"(¡Hola a los dos!

Os mando el enlace con las fotos de la cena del jueves. La de las
croquetas merece un marco.

¡Repetimos pronto!
Lucía)");
        return Encoded(d, "UTF-8", 'Q', TBodyEncoding::QuotedPrintable);
    }
    case 4: {
        TDemoDraft d = Draft(Tatiana, {Me}, {}, "Напоминание о встрече", Moscow, R"(Добрый день!

Напоминаю, что завтра в десять утра у нас встреча по бюджету.
Ссылка на видеозвонок та же, что и в прошлый раз.

Татьяна)");
        return Encoded(d, "UTF-8", 'B', TBodyEncoding::Base64);
    }
    case 5: {
        TDemoDraft d = Draft(Aoi, {Me}, {}, "資料の件", Tokyo, R"(デモさん

山科です。
明日の打ち合わせ資料を共有フォルダに置きました。
お手すきの際にご確認ください。

山科)");
        return Encoded(d, "ISO-2022-JP", 'B', TBodyEncoding::SevenBit);
    }
    case 6: {
        const std::string posts = std::to_string(3 + round % 4);
        TDemoDraft d = Draft(Ramblers, {Me}, {},
                             "Weekly summary: " + posts + " new posts in Hollowfield Ramblers", London,
                             "Hello,\n\nThere are " + posts +
                                 " new posts in Hollowfield Ramblers this week:\n\n"
                                 "  - Lost: one green glove near the stile\n"
                                 "  - Car share for Sunday?\n"
                                 "  - Photos from the canal walk\n\n"
                                 "Read them at https://lists.example.org/ramblers\n");
        AddBulkFields(d, "Hollowfield Ramblers <ramblers.lists.example.org>",
                      "<mailto:ramblers-leave@lists.example.org>");
        return d;
    }
    default: {
        TDemoDraft d =
            Draft(Elodie, {Me}, {}, "Petit rappel : cotisation annuelle", CentralEurope, R"(Bonjour,

Petit rappel amical : la cotisation annuelle de l'association (15 €) est
à régler avant la fin du mois. Vous pouvez payer par virement ou en
liquide lors de la prochaine réunion.

Merci d'avance,
Élodie)");
        return Encoded(d, "UTF-8", 'Q', TBodyEncoding::QuotedPrintable);
    }
    }
}

} // namespace quillet
