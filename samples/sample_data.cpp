// Deterministic sample customers, products, orders and order lines, and the large orders rows.
#include "samples/sample_data.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

namespace {

struct Name {
    std::string_view text;
    std::string_view ascii;  // for e-mail addresses
};

constexpr std::array kFirstNames = {
    Name{"James", "james"},       Name{"Mary", "mary"},
    Name{"Robert", "robert"},     Name{"Patricia", "patricia"},
    Name{"John", "john"},         Name{"Jennifer", "jennifer"},
    Name{"Michael", "michael"},   Name{"Linda", "linda"},
    Name{"David", "david"},       Name{"Elizabeth", "elizabeth"},
    Name{"William", "william"},   Name{"Barbara", "barbara"},
    Name{"Richard", "richard"},   Name{"Susan", "susan"},
    Name{"Joseph", "joseph"},     Name{"Jessica", "jessica"},
    Name{"Thomas", "thomas"},     Name{"Sarah", "sarah"},
    Name{"Daniel", "daniel"},     Name{"Karen", "karen"},
    Name{"Matthew", "matthew"},   Name{"Nancy", "nancy"},
    Name{"Anthony", "anthony"},   Name{"Lisa", "lisa"},
    Name{"Mark", "mark"},         Name{"Emily", "emily"},
    Name{"Steven", "steven"},     Name{"Ashley", "ashley"},
    Name{"Kevin", "kevin"},       Name{"Michelle", "michelle"},
    Name{"Zoë", "zoe"},           Name{"José", "jose"},
    Name{"Renée", "renee"},       Name{"Søren", "soren"},
    Name{"Björn", "bjorn"},       Name{"Chloé", "chloe"},
    Name{"François", "francois"}, Name{"Jürgen", "juergen"},
    Name{"Seán", "sean"},         Name{"Siobhán", "siobhan"},
    Name{"Ana", "ana"},           Name{"Luis", "luis"},
    Name{"Mei", "mei"},           Name{"Hiroshi", "hiroshi"},
    Name{"Priya", "priya"},       Name{"Ingrid", "ingrid"},
    Name{"Łukasz", "lukasz"},     Name{"Noémie", "noemie"},
};

constexpr std::array kLastNames = {
    Name{"Smith", "smith"},
    Name{"Johnson", "johnson"},
    Name{"Williams", "williams"},
    Name{"Brown", "brown"},
    Name{"Jones", "jones"},
    Name{"Garcia", "garcia"},
    Name{"Miller", "miller"},
    Name{"Davis", "davis"},
    Name{"Rodriguez", "rodriguez"},
    Name{"Martinez", "martinez"},
    Name{"Hernandez", "hernandez"},
    Name{"Lopez", "lopez"},
    Name{"Wilson", "wilson"},
    Name{"Anderson", "anderson"},
    Name{"Taylor", "taylor"},
    Name{"Moore", "moore"},
    Name{"Jackson", "jackson"},
    Name{"Martin", "martin"},
    Name{"Lee", "lee"},
    Name{"Thompson", "thompson"},
    Name{"White", "white"},
    Name{"Harris", "harris"},
    Name{"Clark", "clark"},
    Name{"Lewis", "lewis"},
    Name{"Robinson", "robinson"},
    Name{"Walker", "walker"},
    Name{"Young", "young"},
    Name{"King", "king"},
    Name{"Wright", "wright"},
    Name{"Scott", "scott"},
    Name{"Nguyen", "nguyen"},
    Name{"Hill", "hill"},
    Name{"O'Brien", "obrien"},
    Name{"O'Connor", "oconnor"},
    Name{"O'Neill", "oneill"},
    Name{"D'Angelo", "dangelo"},
    Name{"Müller", "mueller"},
    Name{"Schäfer", "schaefer"},
    Name{"Núñez", "nunez"},
    Name{"Lefèvre", "lefevre"},
    Name{"Østergaard", "ostergaard"},
    Name{"Åberg", "aberg"},
    Name{"Dvořák", "dvorak"},
    Name{"Öztürk", "ozturk"},
    Name{"Kowalczyk", "kowalczyk"},
};

struct City {
    std::string_view name;
    std::string_view state;  // empty: none (NULL)
    std::string_view country;
    std::string_view zipPrefix;   // US: three digits, two more are drawn
    std::string_view postalCode;  // elsewhere: one code for the city; empty: none (NULL)
    std::string_view phonePrefix;
    std::string_view street;  // empty: one of the generic street names
    double taxRatePercent = 0;
};

constexpr std::array kCities = {
    City{"Seattle", "WA", "USA", "981", "", "(206)", "", 10.25},
    City{"Portland", "OR", "USA", "972", "", "(503)", "", 0},
    City{"San Francisco", "CA", "USA", "941", "", "(415)", "", 8.625},
    City{"Los Angeles", "CA", "USA", "900", "", "(213)", "", 9.5},
    City{"Denver", "CO", "USA", "802", "", "(303)", "", 8.81},
    City{"Austin", "TX", "USA", "787", "", "(512)", "", 8.25},
    City{"Chicago", "IL", "USA", "606", "", "(312)", "", 10.25},
    City{"Boston", "MA", "USA", "021", "", "(617)", "", 6.25},
    City{"New York", "NY", "USA", "100", "", "(212)", "", 8.875},
    City{"Atlanta", "GA", "USA", "303", "", "(404)", "", 8.9},
    City{"Miami", "FL", "USA", "331", "", "(305)", "", 7},
    City{"Minneapolis", "MN", "USA", "554", "", "(612)", "", 8.025},
    City{"Phoenix", "AZ", "USA", "850", "", "(602)", "", 8.6},
    City{"Philadelphia", "PA", "USA", "191", "", "(215)", "", 8},
    City{"Nashville", "TN", "USA", "372", "", "(615)", "", 9.25},
    City{"Salt Lake City", "UT", "USA", "841", "", "(801)", "", 7.75},
    City{"Columbus", "OH", "USA", "432", "", "(614)", "", 7.5},
    City{"Raleigh", "NC", "USA", "276", "", "(919)", "", 7.25},
    City{"Montréal", "QC", "Canada", "", "H2Y 1C6", "+1 514", "Rue Sainte-Catherine", 14.975},
    City{"Toronto", "ON", "Canada", "", "M5H 2N2", "+1 416", "Queen Street West", 13},
    City{"München", "", "Germany", "", "80331", "+49 89", "Leopoldstraße", 19},
    City{"Zürich", "", "Switzerland", "", "8001", "+41 44", "Bahnhofstrasse", 8.1},
    City{"Malmö", "", "Sweden", "", "211 22", "+46 40", "Södergatan", 25},
    City{"Dublin", "", "Ireland", "", "", "+353 1", "O'Connell Street", 23},
    City{"Paris", "", "France", "", "75002", "+33 1", "Rue de Rivoli", 20},
    City{"Kraków", "", "Poland", "", "31-005", "+48 12", "ulica Floriańska", 23},
};

constexpr std::size_t kUsCityCount = 18;

constexpr std::array<std::string_view, 16> kStreets = {
    "Main Street",   "Oak Avenue",     "Maple Drive",       "Cedar Lane",
    "Pine Street",   "Elm Street",     "Washington Avenue", "Lake View Road",
    "Park Place",    "Hillcrest Road", "River Road",        "Sunset Boulevard",
    "Church Street", "Mill Lane",      "Harbor Way",        "Market Street",
};

constexpr std::array<std::string_view, 3> kMailDomains = {"example.com", "example.net",
                                                          "example.org"};

struct ProductSpec {
    std::string_view description;
    std::string_view category;
    std::int64_t priceCents = 0;
    std::int64_t grams = 0;  // 0: no weight (NULL), for services
};

constexpr std::array kProducts = {
    ProductSpec{"Ballpoint pens, blue, box of 12", "Office Supplies", 499, 180},
    ProductSpec{"Ballpoint pens, black, box of 12", "Office Supplies", 499, 180},
    ProductSpec{"Gel pens, assorted colours, pack of 8", "Office Supplies", 749, 120},
    ProductSpec{"Highlighters, pack of 6", "Office Supplies", 529, 110},
    ProductSpec{"Permanent markers, pack of 4", "Office Supplies", 619, 90},
    ProductSpec{"Pencils HB, box of 24", "Office Supplies", 389, 200},
    ProductSpec{"Mechanical pencil 0.5 mm", "Office Supplies", 275, 15},
    ProductSpec{"Eraser, white vinyl", "Office Supplies", 89, 20},
    ProductSpec{"Stapler, heavy duty", "Office Supplies", 2490, 850},
    ProductSpec{"Staples 26/6, box of 5000", "Office Supplies", 249, 260},
    ProductSpec{"Hole punch, two holes", "Office Supplies", 1295, 420},
    ProductSpec{"Paper clips, box of 100", "Office Supplies", 119, 60},
    ProductSpec{"Binder clips, assorted, 36", "Office Supplies", 459, 150},
    ProductSpec{"Sticky notes 76 × 76 mm, 12 pads", "Office Supplies", 999, 480},
    ProductSpec{"Tape dispenser with tape", "Office Supplies", 649, 390},
    ProductSpec{"Scissors, 21 cm", "Office Supplies", 579, 95},
    ProductSpec{"Letter opener", "Office Supplies", 345, 40},
    ProductSpec{"Ring binder A4, 2-ring", "Office Supplies", 310, 310},
    ProductSpec{"Lever arch file, 80 mm", "Office Supplies", 425, 520},
    ProductSpec{"Document wallets, pack of 10", "Office Supplies", 699, 400},
    ProductSpec{"Copy paper A4, 80 g/m², 500 sheets", "Paper", 549, 2500},
    ProductSpec{"Copy paper Letter, 500 sheets", "Paper", 579, 2300},
    ProductSpec{"Copy paper A4, box of 5 reams", "Paper", 2499, 12500},
    ProductSpec{"Envelopes DL, white, 500", "Paper", 1850, 2600},
    ProductSpec{"Envelopes C4, brown, 250", "Paper", 2175, 3900},
    ProductSpec{"Notebook A5, ruled", "Paper", 299, 210},
    ProductSpec{"Spiral notebook A4, squared", "Paper", 379, 380},
    ProductSpec{"Letter paper, crème, 100 sheets", "Paper", 899, 520},
    ProductSpec{"Shipping labels, 400", "Paper", 1420, 640},
    ProductSpec{"Thermal paper rolls, 10", "Paper", 1160, 900},
    ProductSpec{"Office chair \"Ergo\", mesh back", "Furniture", 18900, 14500},
    ProductSpec{"Executive chair, leather", "Furniture", 34900, 19800},
    ProductSpec{"Visitor's chair, stackable", "Furniture", 7950, 6200},
    ProductSpec{"Desk 160 × 80 cm, oak finish", "Furniture", 29900, 38000},
    ProductSpec{"Height-adjustable desk", "Furniture", 54900, 45000},
    ProductSpec{"Filing cabinet, 3 drawers", "Furniture", 21900, 28000},
    ProductSpec{"Bookcase, 5 shelves", "Furniture", 12900, 24000},
    ProductSpec{"Monitor arm, single", "Furniture", 6490, 2100},
    ProductSpec{"Footrest, adjustable", "Furniture", 3499, 1800},
    ProductSpec{"Desk lamp, LED", "Furniture", 3995, 1100},
    ProductSpec{"Wireless mouse", "Electronics", 1999, 95},
    ProductSpec{"Keyboard, German layout (QWERTZ)", "Electronics", 2999, 650},
    ProductSpec{"24\" monitor, Full HD", "Electronics", 14900, 3600},
    ProductSpec{"27\" monitor, 4K", "Electronics", 32900, 5900},
    ProductSpec{"USB-C docking station", "Electronics", 11900, 420},
    ProductSpec{"Laser printer, mono", "Electronics", 13900, 7200},
    ProductSpec{"Toner cartridge, black", "Electronics", 6990, 800},
    ProductSpec{"Label printer", "Electronics", 8900, 1200},
    ProductSpec{"Headset with microphone", "Electronics", 4450, 230},
    ProductSpec{"Webcam 1080p", "Electronics", 4900, 160},
    ProductSpec{"Shredder, cross-cut", "Electronics", 9900, 9400},
    ProductSpec{"Calculator, desktop", "Electronics", 1495, 280},
    ProductSpec{"Extension cord, 5 sockets", "Electronics", 1249, 700},
    ProductSpec{"Coffee machine, bean-to-cup", "Electronics", 24900, 8900},
    ProductSpec{"Printer maintenance, per visit", "Services", 8500, 0},
    ProductSpec{"On-site installation, per hour", "Services", 6500, 0},
    ProductSpec{"Next-day delivery surcharge", "Services", 1500, 0},
    ProductSpec{"Extended warranty, 2 years", "Services", 4900, 0},
    ProductSpec{"Furniture assembly, per item", "Services", 2500, 0},
    ProductSpec{"Gift wrapping", "Services", 350, 0},
};

constexpr std::array<std::int64_t, 6> kDiscontinuedProducts = {7, 17, 30, 44, 52, 59};

struct Carrier {
    std::string_view name;
    std::string_view trackingPrefix;
    int trackingDigits = 0;  // 0: no tracking number
};

constexpr std::array kCarriers = {
    Carrier{"UPS", "1Z", 16},          Carrier{"FedEx", "", 12},
    Carrier{"DHL Express", "", 10},    Carrier{"USPS Priority", "9400", 16},
    Carrier{"Customer pickup", "", 0},
};

constexpr std::array<std::string_view, 8> kRemarks = {
    "Leave at the back door",
    "Call before delivery",
    "Customer's PO 4711",
    "Deliver to reception, 2nd floor",
    "Partial delivery accepted",
    "Invoice to head office",
    "Gift: no prices on the packing slip",
    "Rush order",
};

constexpr std::array<std::string_view, 6> kLargeOrderNotes = {
    "Express", "Back order", "Phone order", "Gift wrap", "Collect at depot", "Fragile",
};

using Day = std::chrono::sys_days;

Day DayOf(int year, unsigned month, unsigned day) {
    return Day{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}};
}

std::string IsoDate(Day day) {
    const std::chrono::year_month_day date{day};
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text.data();
}

std::string IsoTimestamp(Day day, std::int64_t secondOfDay) {
    std::array<char, 16> time{};
    std::snprintf(time.data(), time.size(), " %02d:%02d:%02d", static_cast<int>(secondOfDay / 3600),
                  static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60));
    return IsoDate(day) + time.data();
}

std::string Digits(Random& random, int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) {
        digits += static_cast<char>('0' + random.Between(0, 9));
    }
    return digits;
}

std::string Numbered(std::string_view prefix, std::int64_t number, int width) {
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return std::string(prefix) + digits;
}

SampleValue TextOrNull(std::string_view text) {
    if (text.empty()) {
        return std::monostate{};
    }
    return std::string(text);
}

constexpr bool kNullable = true;

SampleColumn Key(std::string name) {
    return {std::move(name), ColumnKind::Integer, 0, false};
}

SampleColumn Of(std::string name, ColumnKind kind, bool nullable = false) {
    return {std::move(name), kind, 0, nullable};
}

SampleColumn VarChar(std::string name, int length, bool nullable = false) {
    return {std::move(name), ColumnKind::VarChar, length, nullable};
}

// An 8 x 8 24-bit bitmap in the product's colour with a light diagonal, small enough to keep
// the sample small and a real picture for anything that shows one.
Bytes SmallPicture(std::int64_t productId) {
    constexpr std::uint32_t kSide = 8;
    constexpr std::uint32_t kPixelBytes = kSide * kSide * 3;
    constexpr std::uint32_t kHeaderBytes = 54;
    Bytes picture;
    const auto put16 = [&picture](std::uint32_t value) {
        picture.push_back(static_cast<std::uint8_t>(value & 0xFFU));
        picture.push_back(static_cast<std::uint8_t>((value >> 8U) & 0xFFU));
    };
    const auto put32 = [&put16](std::uint32_t value) {
        put16(value & 0xFFFFU);
        put16(value >> 16U);
    };
    picture.push_back('B');
    picture.push_back('M');
    put32(kHeaderBytes + kPixelBytes);
    put32(0);
    put32(kHeaderBytes);
    put32(40);
    put32(kSide);
    put32(kSide);
    put16(1);
    put16(24);
    put32(0);
    put32(kPixelBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    const auto id = static_cast<std::uint32_t>(productId);
    const std::array<std::uint8_t, 3> colour = {static_cast<std::uint8_t>(id * 37U % 256U),
                                                static_cast<std::uint8_t>(id * 91U % 256U),
                                                static_cast<std::uint8_t>(id * 53U % 256U)};
    for (std::uint32_t y = 0; y < kSide; ++y) {
        for (std::uint32_t x = 0; x < kSide; ++x) {
            for (const std::uint8_t channel : colour) {
                picture.push_back(x == y ? std::uint8_t{255} : channel);
            }
        }
    }
    return picture;
}

struct Customer {
    std::int64_t id = 0;
    std::string name;
    std::string address;
    const City* city = nullptr;
    std::string zipcode;
    std::int64_t discountBasisPoints = 0;
};

const City& CityNamed(std::string_view name) {
    return *std::find_if(kCities.begin(), kCities.end(),
                         [name](const City& city) { return city.name == name; });
}

const City& DrawCity(Random& random) {
    if (random.Chance(75)) {
        return kCities[static_cast<std::size_t>(
            random.Between(0, static_cast<std::int64_t>(kUsCityCount) - 1))];
    }
    return kCities[static_cast<std::size_t>(random.Between(
        static_cast<std::int64_t>(kUsCityCount), static_cast<std::int64_t>(kCities.size()) - 1))];
}

std::string DrawAddress(Random& random, const City& city) {
    const std::string number = std::to_string(random.Between(1, 250));
    if (city.street.empty()) {
        // Drawn one after the other: the operands of + have no order of their own, and the
        // sample data must not depend on the compiler.
        const std::string_view street = random.Pick(kStreets);
        return std::to_string(random.Between(1, 9999)) + " " + std::string(street);
    }
    if (city.country == "Germany" || city.country == "Switzerland" || city.country == "Sweden" ||
        city.country == "Poland") {
        return std::string(city.street) + " " + number;
    }
    return number + " " + std::string(city.street);
}

std::string DrawZipcode(Random& random, const City& city) {
    if (!city.zipPrefix.empty()) {
        return std::string(city.zipPrefix) + Digits(random, 2);
    }
    return std::string(city.postalCode);
}

std::string DrawPhone(Random& random, const City& city) {
    if (city.country == "USA") {
        return std::string(city.phonePrefix) + " 555-01" + Digits(random, 2);
    }
    return std::string(city.phonePrefix) + " 555 " + Digits(random, 4);
}

// The first customers are fixed so that the names quoting and encoding tests look for are
// always there, whatever happens to the drawn ones.
struct FixedCustomer {
    Name first;
    Name last;
    std::string_view city;
};

constexpr std::array kFixedCustomers = {
    FixedCustomer{{"Seán", "sean"}, {"O'Brien", "obrien"}, "Dublin"},
    FixedCustomer{{"Jürgen", "juergen"}, {"Müller", "mueller"}, "München"},
    FixedCustomer{{"Zoë", "zoe"}, {"Martin", "martin"}, "Montréal"},
    FixedCustomer{{"François", "francois"}, {"Lefèvre", "lefevre"}, "Paris"},
    FixedCustomer{{"Margaret", "margaret"}, {"O'Connor", "oconnor"}, "Boston"},
};

constexpr std::int64_t kCustomerCount = 200;
constexpr std::int64_t kOrderCount = 300;

SampleTable CustomersTable() {
    return {"customers",
            {Key("customer_id"), VarChar("customer_no", 10), VarChar("name", 40),
             VarChar("address", 60), VarChar("city", 30), VarChar("state", 2, kNullable),
             VarChar("zipcode", 10, kNullable), VarChar("country", 30),
             VarChar("phone", 20, kNullable), VarChar("email", 60, kNullable),
             Of("credit_limit", ColumnKind::Currency), Of("discount", ColumnKind::Double),
             Of("active", ColumnKind::Boolean), Of("created_at", ColumnKind::Timestamp)},
            {}};
}

std::vector<Customer> MakeCustomers(Random& random, SampleTable& table) {
    constexpr std::array<std::int64_t, 4> kDiscounts = {0, 250, 500, 1000};
    std::vector<Customer> customers;
    for (std::int64_t id = 1; id <= kCustomerCount; ++id) {
        const auto fixed = static_cast<std::size_t>(id - 1);
        const bool isFixed = fixed < kFixedCustomers.size();
        const Name first = isFixed ? kFixedCustomers[fixed].first : random.Pick(kFirstNames);
        const Name last = isFixed ? kFixedCustomers[fixed].last : random.Pick(kLastNames);
        const City& city = isFixed ? CityNamed(kFixedCustomers[fixed].city) : DrawCity(random);
        Customer customer{id,
                          std::string(first.text) + " " + std::string(last.text),
                          DrawAddress(random, city),
                          &city,
                          DrawZipcode(random, city),
                          random.Pick(kDiscounts)};
        const bool hasPhone = isFixed || random.Chance(88);
        const bool hasEmail = isFixed || random.Chance(90);
        const std::string email = std::string(first.ascii) + "." + std::string(last.ascii) + "@" +
                                  std::string(random.Pick(kMailDomains));
        const Day joined = DayOf(2019, 1, 1) + std::chrono::days{random.Between(0, 1460)};
        table.rows.push_back(
            {id, Numbered("C", id, 5), customer.name, customer.address, std::string(city.name),
             TextOrNull(city.state), TextOrNull(customer.zipcode), std::string(city.country),
             hasPhone ? SampleValue{DrawPhone(random, city)} : SampleValue{},
             hasEmail ? SampleValue{email} : SampleValue{}, Cents{random.Between(2, 80) * 25000},
             static_cast<double>(customer.discountBasisPoints) / 10000.0,
             isFixed || random.Chance(90),
             IsoTimestamp(joined, random.Between(8 * 3600, 19 * 3600))});
        customers.push_back(std::move(customer));
    }
    return customers;
}

SampleTable MakeProducts(Random& random) {
    SampleTable table{
        "products",
        {Key("product_id"), VarChar("item_no", 12), VarChar("description", 60),
         VarChar("category", 20), Of("unit_price", ColumnKind::Currency),
         Of("weight", ColumnKind::Double, kNullable), Of("units_in_stock", ColumnKind::Integer),
         Of("discontinued", ColumnKind::Boolean), Of("picture", ColumnKind::Binary, kNullable)},
        {}};
    std::int64_t id = 1;
    for (const ProductSpec& spec : kProducts) {
        const bool discontinued =
            std::find(kDiscontinuedProducts.begin(), kDiscontinuedProducts.end(), id) !=
            kDiscontinuedProducts.end();
        const bool physical = spec.grams > 0;
        const std::int64_t stock = discontinued || !physical ? 0 : random.Between(0, 400);
        table.rows.push_back(
            {id, Numbered("P-", 1000 + id, 4), std::string(spec.description),
             std::string(spec.category), Cents{spec.priceCents},
             physical ? SampleValue{static_cast<double>(spec.grams) / 1000.0} : SampleValue{},
             stock, discontinued,
             physical && id % 5 != 0 ? SampleValue{SmallPicture(id)} : SampleValue{}});
        ++id;
    }
    return table;
}

std::string DrawTrackingNumber(Random& random, const Carrier& carrier) {
    return std::string(carrier.trackingPrefix) + Digits(random, carrier.trackingDigits);
}

std::int64_t DrawLineCount(Random& random) {
    const std::int64_t draw = random.Between(1, 100);
    if (draw <= 15) {
        return 1;
    }
    if (draw <= 35) {
        return 2;
    }
    if (draw <= 65) {
        return 3;
    }
    return draw <= 85 ? 4 : 5;
}

std::int64_t DrawQuantity(Random& random, bool service) {
    constexpr std::array<std::int64_t, 13> kQuantities = {1, 1,  2,  2,  3,  4, 5,
                                                          6, 10, 12, 20, 24, 50};
    return service ? random.Between(1, 4) : random.Pick(kQuantities);
}

struct OrderTables {
    SampleTable orders;
    SampleTable lines;
};

// Line totals round half up to the cent after the customer's discount, computed in integers so
// that the stored totals are the sums a reader recomputes from the stored lines.
std::int64_t LineTotal(std::int64_t quantity, std::int64_t priceCents, std::int64_t basisPoints) {
    return (quantity * priceCents * (10000 - basisPoints) + 5000) / 10000;
}

void AddOrderLines(Random& random, std::int64_t orderId, const Customer& customer,
                   SampleTable& lines, std::int64_t& subtotal) {
    const std::int64_t count = DrawLineCount(random);
    std::set<std::int64_t> used;
    for (std::int64_t lineNo = 1; lineNo <= count; ++lineNo) {
        std::int64_t productId = 0;
        do {
            productId = random.Between(1, static_cast<std::int64_t>(kProducts.size()));
        } while (!used.insert(productId).second);
        const ProductSpec& product = kProducts[static_cast<std::size_t>(productId - 1)];
        const std::int64_t quantity = DrawQuantity(random, product.grams == 0);
        const std::int64_t total =
            LineTotal(quantity, product.priceCents, customer.discountBasisPoints);
        subtotal += total;
        lines.rows.push_back({static_cast<std::int64_t>(lines.rows.size()) + 1, orderId, lineNo,
                              productId, quantity, Cents{product.priceCents},
                              static_cast<double>(customer.discountBasisPoints) / 10000.0,
                              Cents{total}});
    }
}

OrderTables MakeOrders(Random& random, const std::vector<Customer>& customers) {
    OrderTables tables{
        {"orders",
         {Key("order_id"), Of("customer_id", ColumnKind::Integer),
          Of("order_date", ColumnKind::Date), Of("required_date", ColumnKind::Date),
          Of("shipped_date", ColumnKind::Date, kNullable), VarChar("ship_via", 20),
          VarChar("tracking_no", 20, kNullable), VarChar("ship_name", 40),
          VarChar("ship_address", 60), VarChar("ship_city", 30),
          VarChar("ship_state", 2, kNullable), VarChar("ship_zipcode", 10, kNullable),
          Of("tax_rate", ColumnKind::Double), Of("freight", ColumnKind::Currency),
          Of("subtotal", ColumnKind::Currency), Of("total", ColumnKind::Currency),
          Of("paid", ColumnKind::Boolean), VarChar("remark", 80, kNullable),
          Of("created_at", ColumnKind::Timestamp)},
         {}},
        {"order_lines",
         {Key("line_id"), Of("order_id", ColumnKind::Integer), Of("line_no", ColumnKind::Integer),
          Of("product_id", ColumnKind::Integer), Of("quantity", ColumnKind::Integer),
          Of("unit_price", ColumnKind::Currency), Of("discount", ColumnKind::Double),
          Of("line_total", ColumnKind::Currency)},
         {}}};
    const Day first = DayOf(2023, 1, 2);
    const Day last = DayOf(2024, 12, 31);
    std::vector<Day> dates;
    for (std::int64_t i = 0; i < kOrderCount; ++i) {
        dates.push_back(first + std::chrono::days{random.Between(0, (last - first).count())});
    }
    std::sort(dates.begin(), dates.end());
    for (std::int64_t orderId = 1; orderId <= kOrderCount; ++orderId) {
        const Day ordered = dates[static_cast<std::size_t>(orderId - 1)];
        const Customer& customer = customers[static_cast<std::size_t>(
            random.Between(0, static_cast<std::int64_t>(customers.size()) - 1))];
        const Carrier& carrier = random.Pick(kCarriers);
        const Day shippedOn = ordered + std::chrono::days{random.Between(1, 6)};
        const bool shipped = shippedOn <= last && random.Chance(96);
        std::int64_t subtotal = 0;
        AddOrderLines(random, orderId, customer, tables.lines, subtotal);
        const std::int64_t freight = carrier.trackingDigits == 0 ? 0 : random.Between(5, 60) * 100;
        const double taxRate = customer.city->taxRatePercent;
        const std::int64_t tax = std::llround(static_cast<double>(subtotal) * taxRate / 100.0);
        const bool hasTracking = shipped && carrier.trackingDigits > 0;
        const bool hasRemark = random.Chance(15);
        tables.orders.rows.push_back(
            {orderId, customer.id, IsoDate(ordered), IsoDate(ordered + std::chrono::days{14}),
             shipped ? SampleValue{IsoDate(shippedOn)} : SampleValue{}, std::string(carrier.name),
             hasTracking ? SampleValue{DrawTrackingNumber(random, carrier)} : SampleValue{},
             customer.name, customer.address, std::string(customer.city->name),
             TextOrNull(customer.city->state), TextOrNull(customer.zipcode), taxRate,
             Cents{freight}, Cents{subtotal}, Cents{subtotal + tax + freight},
             shipped ? random.Chance(88) : random.Chance(20),
             hasRemark ? SampleValue{std::string(random.Pick(kRemarks))} : SampleValue{},
             IsoTimestamp(ordered, random.Between(8 * 3600, 19 * 3600))});
    }
    return tables;
}

}  // namespace

SampleDatabase MakeSampleDatabase() {
    Random random(20240611);
    SampleDatabase database;
    SampleTable customers = CustomersTable();
    const std::vector<Customer> customerRecords = MakeCustomers(random, customers);
    database.tables.push_back(std::move(customers));
    database.tables.push_back(MakeProducts(random));
    OrderTables orders = MakeOrders(random, customerRecords);
    database.tables.push_back(std::move(orders.orders));
    database.tables.push_back(std::move(orders.lines));
    database.indexes = {
        {"customers_customer_no", "customers", "customer_no", true},
        {"products_item_no", "products", "item_no", true},
        {"orders_customer_id", "orders", "customer_id", false},
        {"order_lines_order_line", "order_lines", "order_id, line_no", true},
        {"order_lines_product_id", "order_lines", "product_id", false},
    };
    return database;
}

SampleTable LargeOrdersTable() {
    return {"orders",
            {Key("order_id"), Of("customer_id", ColumnKind::Integer),
             Of("order_date", ColumnKind::Date), VarChar("ship_city", 30),
             Of("amount", ColumnKind::Currency), Of("weight", ColumnKind::Double),
             Of("paid", ColumnKind::Boolean), VarChar("note", 60, kNullable)},
            {}};
}

LargeOrderGenerator::LargeOrderGenerator() : m_random(19991231) {
    const Day first = DayOf(2015, 1, 1);
    const Day end = DayOf(2025, 1, 1);
    for (Day day = first; day < end; day += std::chrono::days{1}) {
        m_dates.push_back(IsoDate(day));
    }
}

LargeOrder LargeOrderGenerator::Next() {
    LargeOrder order;
    order.orderId = m_nextId++;
    order.customerId = m_random.Between(1, kCustomerCount);
    order.orderDate = m_random.Pick(m_dates);
    order.shipCity = m_random.Pick(kCities).name;
    order.amount = Cents{m_random.Between(100, 500000)};
    order.weight = static_cast<double>(m_random.Between(50, 40000)) / 1000.0;
    order.paid = m_random.Chance(70);
    order.note = m_random.Chance(20) ? m_random.Pick(kLargeOrderNotes) : "";
    return order;
}
