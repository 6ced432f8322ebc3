#include "demo/demoitems.h"

// standard
#include <iterator>
#include <string>

namespace demo {

namespace {

constexpr DemoItem kItems[] = {
    {1, "Glock 17", "Glock 17 pistol", "A light 9mm service pistol with a polymer frame. Reliable and easy to handle."},
    {2, "Glock 18", "Glock 18 machine pistol", "The select-fire sister of the Glock 17. Fires short bursts of 9mm."},
    {3, "Beretta 92F", "Beretta 92F pistol", "A full-size 9mm pistol, standard issue in many armies."},
    {4, "Beretta 93R", "Beretta 93R machine pistol", "A 9mm machine pistol with a folding foregrip and three-round bursts."},
    {5, ".38 Special", ".38 Special revolver", "A six-shot revolver. Old, simple and it never jams."},
    {6, "Barracuda", "Barracuda revolver", "A heavy .357 revolver that kicks hard and hits harder."},
    {7, "DesertEagle", "Desert Eagle", "A gas-operated .357 pistol. Heavy, loud and accurate."},
    {8, "Colt .45", "Colt .45 pistol", "The classic .45 automatic, still trusted after a century."},
    {9, "MP5K", "H&K MP5K", "A compact 9mm sub machine gun for close quarters."},
    {10, "MAC-10", "MAC-10", "A small .45 sub machine gun with a very high rate of fire."},
    {11, "Thompson", "Thompson M1A1", "A sturdy .45 sub machine gun of the old school."},
    {12, "Commando", "Colt Commando", "A short carbine in 5.56mm, handy in towns and woods."},
    {13, "MP53", "H&K MP53", "A 5.56mm sub machine gun built on a rifle's action."},
    {14, "AKSU-74", "AKSU-74", "A shortened 5.45mm rifle for vehicle crews."},
    {15, "FN-P90", "FN-P90", "A bullpup personal defence weapon firing 5.7mm from a 50-round magazine."},
    {16, "Type 85", "Type 85", "A 7.62mm sub machine gun with an integral silencer."},
    {17, "SKS", "SKS carbine", "A semi-automatic 7.62mm carbine with a fixed magazine."},
    {18, "Dragunov", "Dragunov sniper rifle", "A 7.62mm sniper rifle, light for its reach."},
    {19, "M-24", "M-24 sniper rifle", "A bolt-action 7.62mm NATO sniper rifle of great precision."},
    {20, "Steyr AUG", "Steyr AUG", "A 5.56mm bullpup rifle with a built-in optical sight."},
    {21, "G41", "H&K G41", "A 5.56mm assault rifle with a roller-delayed action."},
    {22, "Mini-14", "Ruger Mini-14", "A ranch rifle in 5.56mm: light, accurate and quiet on the range."},
    {23, "C-7", "C-7 / M16A2", "A 5.56mm assault rifle, the standard of many armies."},
    {24, "FA-MAS", "FA-MAS", "A 5.56mm bullpup rifle with a bipod folded under its handguard."},
    {25, "AK-74", "AK-74", "A 5.45mm assault rifle, rugged in every climate."},
    {26, "AKM", "AKM", "A 5.45mm rifle of the same family, simple and tough."},
    {27, "M-14", "M-14 rifle", "A battle rifle in 7.62mm NATO with a long reach."},
    {28, "FN-FAL", "FN-FAL", "A 7.62mm NATO battle rifle, called the right arm of the free world."},
    {29, "G3A3", "H&K G3A3", "A 7.62mm NATO battle rifle with a roller-delayed action."},
    {30, "G11", "H&K G11", "A rifle that fires caseless 4.7mm rounds in very fast bursts."},
    {31, "M870", "Remington M870", "A pump-action 12 gauge shotgun."},
    {32, "SPAS-15", "SPAS-15", "A magazine-fed combat shotgun in 12 gauge."},
    {33, "CAWS", "CAWS", "A close assault weapon that fires its own flechette shells."},
    {34, "Minimi", "FN Minimi", "A 5.56mm light machine gun fed from a belt or a magazine."},
    {35, "RPK-74", "RPK-74", "A 5.45mm light machine gun with a long barrel and a bipod."},
    {36, "HK21", "H&K 21", "A 7.62mm NATO light machine gun."},
    {37, "Knife", "Combat knife", "A plain fighting knife."},
    {38, "Thr. Knife", "Throwing knife", "A balanced knife made for throwing."},
    {39, "Machete", "Machete", "A long blade for cutting brush, and worse."},
    {40, "Knuckles", "Brass knuckles", "They make a punch count."},
    {41, "Mortar", "Mortar", "A light mortar for indirect fire."},
    {42, "GL", "Grenade launcher", "A single-shot launcher for 40mm grenades."},
    {43, "Stun Gren.", "Stun grenade", "Blinds and deafens for a short while."},
    {44, "Tear Gas", "Tear gas grenade", "A cloud that makes eyes stream."},
    {45, "Mustard Gas", "Mustard gas grenade", "A cloud that burns the lungs."},
    {46, "Mini Gren.", "Mini grenade", "A small fragmentation grenade."},
    {47, "Grenade", "Hand grenade", "A fragmentation grenade."},
    {48, "RDX", "RDX charge", "A block of plastic explosive."},
    {49, "TNT", "TNT charge", "A stick of dynamite's big brother."},
    {50, "Talon", "Talon grenade launcher", "Fits under the barrel of an assault rifle."},
    {51, "LAW", "LAW rocket", "A disposable anti-tank rocket launcher."},
    {52, "Crowbar", "Crowbar", "Opens crates, doors and arguments."},
    {53, "Nail Gun", "Nail gun", "A builder's tool, pressed into service."},
    {54, "Flare Gun", "Flare gun", "Lights up the night sky."},
    {55, "RocketRifle", "Rocket rifle", "Fires mini-rockets, one at a time."},
    {56, "Automag III", "Automag III", "A large pistol in 7.62mm NATO."},
    {57, "Bayonet", "Bayonet", "A blade for the end of a rifle."},
    {58, "Flamer", "Flamethrower", "Short range, long memory."},
    {59, "Blowgun", "Blowgun", "A silent tube for darts."},
    {60, "Cannon", "Tank cannon", "Only a tank can carry it."},
    {61, "Dart Gun", "Dart gun", "Fires tranquilliser darts."},
    {62, "Claws", "Bloodcat claws", "Not a weapon anyone chooses."},
    {63, "Spit", "Creature spit", "Acid from the caves."},
    {64, "Tomahawk", "Tomahawk", "A throwing axe."},
    {65, "AutoRocket", "Auto rocket rifle", "Fires mini-rockets in short bursts."},
    {74, "9mm", "9mm magazine", "Ammunition for 9mm weapons."},
    {78, ".38", ".38 speed loader", "Ammunition for .38 revolvers."},
    {83, ".45", ".45 magazine", "Ammunition for .45 weapons."},
    {89, ".357", ".357 speed loader", "Ammunition for .357 weapons."},
    {92, "5.45mm", "5.45mm magazine", "Ammunition for 5.45mm rifles."},
    {94, "5.56mm", "5.56mm magazine", "Ammunition for 5.56mm rifles."},
    {97, "7.62mm WP", "7.62mm WP magazine", "Ammunition for 7.62mm rifles of the eastern pattern."},
    {101, "7.62mm N.", "7.62mm NATO magazine", "Ammunition for 7.62mm NATO rifles."},
    {104, "4.7mm", "4.7mm caseless block", "Caseless ammunition for the G11."},
    {105, "5.7mm", "5.7mm magazine", "Ammunition for the FN-P90."},
    {107, "12 Gauge", "12 gauge shells", "Buckshot for shotguns."},
    {109, "CAWS", "CAWS shells", "Flechette shells for the CAWS."},
    {113, "Mini-rock.", "Mini-rockets", "Rockets for the rocket rifles."},
    {114, "Darts", "Darts", "Tranquilliser darts."},
    {140, "Mortar Sh.", "Mortar shell", "A shell for the mortar."},
    {161, "Flak", "Flak jacket", "A light vest against fragments."},
    {162, "Flak 18", "Comp. 18 flak jacket", "A flak jacket reinforced with compound 18."},
    {163, "Flak C.", "Coated flak jacket", "A flak jacket coated with queen-spider silk."},
    {164, "Kevlar", "Kevlar vest", "A vest of kevlar weave."},
    {167, "Spectra", "Spectra vest", "A vest of spectra fibre."},
    {176, "Steel Helm", "Steel helmet", "A plain steel helmet."},
    {177, "Kevlar Helm", "Kevlar helmet", "A helmet of kevlar."},
    {180, "Spectra Helm", "Spectra helmet", "A helmet of spectra fibre."},
    {183, "Plates", "Ceramic plates", "Plates that slide into a vest."},
    {197, "Guardian", "Guardian vest", "A heavy vest of layered kevlar."},
    {207, "Silencer", "Silencer", "Muffles the report of a pistol or sub machine gun."},
    {208, "Scope", "Sniper Scope", "A telescopic sight for long shots."},
    {209, "Bipod", "Bipod", "Steadies a rifle when lying down."},
    {241, "Laser", "Laser Scope", "Puts a red dot where the bullet goes."},
    {244, "Duckbill", "Duckbill", "Spreads a shotgun's pellets sideways."},
    {307, "Rod&Spring", "Rod & Spring", "A stronger recoil spring and guide rod."},
    {310, "Extender", "Barrel Extender", "A longer barrel for more range."},
};

} // namespace

std::span<const DemoItem> demoItems()
{
    return kItems;
}

} // namespace demo

namespace demo {

namespace {

struct Variant {
    const char* suffix;
    const char* what;
};
constexpr Variant kAmmoVariants[] = {
    {"AP", "Armour-piercing rounds"}, {"HP", "Hollow-point rounds"}, {"Tr.", "Tracer rounds"},
    {"Match", "Match-grade rounds"},  {"Sub.", "Subsonic rounds"},   {"Drum", "A drum magazine"},
};

struct Misc {
    const char* name;
    const char* lname;
    const char* desc;
};
constexpr Misc kEquipment[] = {
    {"First Aid", "First aid kit", "Bandages and antiseptic for wounds in the field."},
    {"Med. Kit", "Medical kit", "A doctor's bag: surgery and stitches, if someone knows how."},
    {"Toolkit", "Toolkit", "Wrenches and screwdrivers for repairing weapons and armour."},
    {"Lockpicks", "Lockpick set", "Opens most locks, given a steady hand."},
    {"Wirecutter", "Wire cutters", "Cuts fences and tripwires."},
    {"Canteen", "Canteen", "A flask of water against fatigue in the heat."},
    {"Gas Mask", "Gas mask", "Keeps out tear gas and mustard gas."},
    {"NV Goggles", "Night-vision goggles", "See in the dark, as far as the moon allows."},
    {"Sungoggles", "Sun goggles", "Cut the glare and see further by day."},
    {"Ext. Ear", "Extended ear", "A hearing aid that picks up footsteps far away."},
    {"Camo Kit", "Camouflage kit", "Face paint and netting for hiding in the woods."},
    {"Det. Cord", "Detonator", "Sets off an explosive charge after a delay."},
    {"Remote Det.", "Remote detonator", "Sets off a charge from a distance."},
    {"Met. Det.", "Metal detector", "Finds mines before they find you."},
    {"Binoculars", "Binoculars", "Watch a town from the hills before going in."},
    {"Radio", "Field radio", "Calls in help from the rest of the team."},
    {"Rope", "Climbing rope", "Thirty metres of nylon rope."},
    {"Duct Tape", "Duct tape", "Holds everything together, for a while."},
    {"Glue", "Super glue", "Bonds anything to anything."},
    {"Steel Tube", "Steel tube", "A piece of pipe, useful to a tinkerer."},
    {"Spring", "Spring", "A strong spring from some machine."},
    {"Alarm Clock", "Alarm clock", "Ticks loudly."},
    {"Batteries", "Batteries", "Power for goggles and detectors."},
    {"Flashlight", "Flashlight", "Lights a corridor."},
    {"Crowbar", "Heavy crowbar", "Forces doors and crates."},
    {"Cigars", "Box of cigars", "Good for morale, bad for lungs."},
    {"Whiskey", "Bottle of whiskey", "For celebrations and for wounds."},
    {"Beer", "Beer", "Warm, but welcome."},
    {"Money", "Wad of money", "Local currency, damp but spendable."},
    {"Gold Watch", "Gold watch", "Worth something to the right buyer."},
    {"Flower", "Wild flower", "A flower from the hills."},
    {"Photo", "Photograph", "An old photograph of a family."},
    {"Letter", "Sealed letter", "Addressed to someone in the capital."},
    {"Map", "Map of the region", "Shows roads, rivers and the old mines."},
    {"Vial", "Vial of serum", "A sample from the laboratory."},
    {"Tissue", "Tissue sample", "For the doctor's research."},
    {"Ore", "Raw ore", "A lump of ore from the mines."},
    {"Boots", "Combat boots", "Sturdy boots for long marches."},
    {"Parachute", "Parachute", "For a quick way down."},
    {"Tent", "Field tent", "Shelter for a night in the open."},
};

} // namespace

void demoTexts(std::string (&name)[351], std::string (&lname)[351], std::string (&desc)[351])
{
    name[0] = "Nothing";
    lname[0] = "Nothing";
    desc[0] = "An empty hand.";
    for (const DemoItem& item : demoItems()) {
        name[item.item] = item.name;
        lname[item.item] = item.lname;
        desc[item.item] = item.desc;
    }

    // Ammunition: the items between the listed calibers are variants of the
    // caliber before them.
    int base = 0;
    for (int n = 66; n <= 140; ++n) {
        if (!name[n].empty()) {
            base = n;
            continue;
        }
        const Variant& v = kAmmoVariants[(n - base - 1) % std::size(kAmmoVariants)];
        const std::string caliber = base ? name[base] : std::string("Shell");
        name[n] = caliber + " " + v.suffix;
        lname[n] = caliber + " " + v.suffix + (base ? " ammunition" : "");
        desc[n] = std::string(v.what) + (base ? " for " + caliber + " weapons." : ".");
    }

    // Explosives and grenades.
    for (int n = 141; n <= 160; ++n) {
        const int charge = n - 140;
        name[n] = "Charge " + std::to_string(charge);
        lname[n] = "Demolition charge, pattern " + std::to_string(charge);
        desc[n] = "A shaped charge for doors and walls. Needs a detonator.";
    }

    // Armour: the grades of each vest and helmet, then leggings.
    const struct {
        int item;
        const char* name;
        const char* grade;
    } grades[] = {
        {162, "Flak 18", "Comp. 18 flak jacket"},     {163, "Flak C.", "Coated flak jacket"},
        {165, "Kevlar 18", "Comp. 18 kevlar vest"},   {166, "Kevlar C.", "Coated kevlar vest"},
        {168, "Spectra 18", "Comp. 18 spectra vest"}, {169, "Spectra C.", "Coated spectra vest"},
        {178, "Kev. Helm 18", "Comp. 18 kevlar helmet"}, {179, "Kev. Helm C.", "Coated kevlar helmet"},
        {181, "Spectra H. 18", "Comp. 18 spectra helmet"}, {182, "Spectra H. C.", "Coated spectra helmet"},
        {198, "Guardian 18", "Comp. 18 guardian vest"}, {199, "Guardian C.", "Coated guardian vest"},
    };
    for (const auto& g : grades) {
        name[g.item] = g.name;
        lname[g.item] = g.grade;
        desc[g.item] = std::string("Armour improved in the field: ") + g.grade + ".";
    }
    const char* legs[] = {"Flak", "Kevlar", "Spectra"};
    for (int n = 170; n <= 175; ++n) {
        const std::string kind = legs[(n - 170) % 3];
        name[n] = kind + " Legs";
        lname[n] = kind + " leggings";
        desc[n] = "Protect the legs with " + kind + " panels.";
    }
    for (int n = 184; n <= 196; ++n) {
        const std::string kind = legs[(n - 184) % 3];
        name[n] = kind + " Pad " + std::to_string(n - 183);
        lname[n] = kind + " padding, size " + std::to_string(n - 183);
        desc[n] = "Extra " + kind + " padding for a vest.";
    }

    // Attachments and equipment after the armour, then keys.
    int next = 0;
    for (int n = 200; n <= 350; ++n) {
        if (!name[n].empty())
            continue;
        if (n < 300) {
            const Misc& m = kEquipment[next++ % std::size(kEquipment)];
            const int copy = (next - 1) / static_cast<int>(std::size(kEquipment));
            name[n] = copy ? std::string(m.name) + " " + std::to_string(copy + 1) : m.name;
            lname[n] = copy ? std::string(m.lname) + " (" + std::to_string(copy + 1) + ")" : m.lname;
            desc[n] = m.desc;
        } else {
            name[n] = "Key " + std::to_string(n - 299);
            lname[n] = "Key number " + std::to_string(n - 299);
            desc[n] = "Opens a door somewhere in the country.";
        }
    }
}

} // namespace demo
