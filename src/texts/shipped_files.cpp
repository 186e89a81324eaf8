#include "texts/shipped_files.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cstring>

namespace tormel {

namespace {

// Every language and help file any version of the program has shipped,
// by name and SHA-256. A file changed in data/ adds its new digest here;
// the old ones stay, so that copies of them in users' folders are known.
constexpr ShippedDigest digests[] = {
    {"Help_0.txt", "04dc2e986ad265c3f336d5468dda304bf4e7ad10689cd2e51d50b62b1bcbce1a"},
    {"Help_0.txt", "4749f388ffae09147e0e58e6701e9b4c7173db7df3aecab37c4ce6483aff779b"},
    {"Help_0.txt", "d9bf56912ffad8a3823360c68f4d25d4f03c3b8f32a9fcc4cc35f9433297bb23"},
    {"Help_1.txt", "208ba23faa75bba88c176a99c7b6e0ad863cdd6480d4bcbb06d9fcec06ea29de"},
    {"Help_1.txt", "311a068c9b847ae09a56318be4b8b98f9e24f3c8f86595e4bd2c226d9ce8bd47"},
    {"Help_1.txt", "4303d31a896f2778293e0b179084a88edca605c5006fd6cbf40a19071b72c1db"},
    {"Help_2.txt", "71f2a16d3978a67bb8a05b9164b9e568a16f12a0687f4ed0572575c5707202ed"},
    {"Help_2.txt", "93c16576cd79d1ca87e72ffd8093b5ae4b9e304dab23ded87e725a7010cd30c6"},
    {"Help_2.txt", "70998ea8c6339e7dda2ea5f973ff2bdea183b24ce3b7b97e1c41465ba4366327"},
    {"Help_3.txt", "930267f54f358e4d0c19ac907b7ab975f5c5684c141637ca44f05569076b40b0"},
    {"Help_3.txt", "a4695f72ab1d8c8bbd1eb41d1795bbb745668768481dd8b9ab655699c5085329"},
    {"Help_3.txt", "459c3ad396fdbdc5267f3d372f41a3467412d98bbd1130bbb937903f0079a7f0"},
    {"Help_4.txt", "baefe8274735f5ac9155b9e3a6962179fa92cb91be9bcef6c0fb208209e54401"},
    {"Help_4.txt", "f08cd6628f08177acd22203f04ccfcf66230e956bbd7fe9b55df97c93803b86e"},
    {"Help_4.txt", "6b90200eef5c82415b69a65740fed3c5d2706dd79df8becef61fc26ab960123d"},
    {"Help_5.txt", "496d6c75ad3afc29e4cb361110d00c7965f2b223fdafd5b717fd397332b5736a"},
    {"Help_5.txt", "a2a93aff9145d4e464d5595a5fbc161511458d2aa40bdf9d040b92fb093e3d34"},
    {"Help_5.txt", "8e8af2fe1521ddca6a8b6a70dbab2b4e038399d7e40d9823326bfbd4a4dd14a5"},
    {"Menu_0.txt", "a5b4dac05e89090cb53f39ae6cb59f58bec6a758da1304f7d11f61d00626e6d3"},
    {"Menu_1.txt", "2d7fb00b802d7aa3bced103e51cdb7bddfc31d9d21e8ee0131ae31526e59f9dd"},
    {"Menu_2.txt", "3214fc5564382da65d10b2839dec6c92f32cb56313e792e1053936a62b7e1224"},
    {"Menu_3.txt", "a8597631f99b4de31240c670a3e311d6513fdf7034d5fad22c688f4af3b5b676"},
    {"Menu_4.txt", "dd7f5a99f0bf1bfb97f9827d675e78b0dbf499d94fe062e940bd5f1800f416e2"},
    {"Menu_5.txt", "2c1905333ec0b4f477a5f394f84bf706a3d88d5155decbaddf1fe13ff30af906"},
    {"Textes_0.txt", "2e4a3df24db57150fbbbcebf260a7fbbb3d1123d96b3b5d67d54cf033322ef22"},
    {"Textes_0.txt", "5a72c521f29aa4e79c9be770491525433187a78b3c3d4cd3e2f6801056a5c833"},
    {"Textes_0.txt", "74273880b40af68259b020c5ee4a838f115426414d3d281bae7a5ce19e07e183"},
    {"Textes_0.txt", "904d2ab9bee7fd6b7c8d8899349693b752b5bc171393a7964b0b733ea43aa22a"},
    {"Textes_0.txt", "abc145e773430f58e876ba145c48d1336b3d0874df98f038672a53b835eb1e06"},
    {"Textes_0.txt", "ad528bfdecd944a5c50eb49575dfbdf5138433e31a34352ae7eb00a578bed84f"},
    {"Textes_0.txt", "d39e39d1378a142c3b8ccefd190a1626c3fa15f20951d0621d99c892010e17b3"},
    {"Textes_0.txt", "f178c1aad7d682771b26c1e986c288f9afd7e87ca05835baee1aca71568a5d54"},
    {"Textes_0.txt", "d4fe13742f3e97b1390e20f13544c0b9a54da402a27efc1cdafc862414bfc77b"},
    {"Textes_0.txt", "b7d940139aa605b028ee5e4f770bbbd4374ab1f4606f24cd9e9447effc20bf98"},
    {"Textes_0.txt", "b838c7e918a80d642f347b8f9ba9cb8b8e308dda437841dbbf6ddc4063953f3a"},
    {"Textes_0.txt", "f3b23708efdb830b6d5197fca6ee2826b165922f7196412e26b68fcb33f2c328"},
    {"Textes_0.txt", "bc98d65e7ca92a6154c0eefb65faa163f50612773acd80b49cfd65335f37f69e"},
    {"Textes_0.txt", "01c574ddb925a5f9415b57a067448137de5d814ce8bff006835191854d1dafba"},
    {"Textes_0.txt", "47b0a81afe453bf8f4e0c795161ba18581ec3e30ea605a75f7a4e19d61c4ba59"},
    {"Textes_0.txt", "2634a75373662ee7b627498a47f4978572495677ac66be6d6e1f37146c2be066"},
    {"Textes_0.txt", "f69d0418102a221a08ff32c641481e8f854666ec67b1ce427006b68159329d16"},
    {"Textes_0.txt", "b3ce125c331d5e40e3924ce5bd45499d05cfab89fc80ae17a615c370a6104c87"},
    {"Textes_0.txt", "fb800798b993b77763713bcac2be9c5b1689c301795eebd99344d0a98351063b"},
    {"Textes_0.txt", "0fb9e8679cc3cf3b4640e02aafa65ed64783aa3bf91e981d44a1d1809d7d2dd5"},
    {"Textes_0.txt", "0d478af258dc8b0d9d55b49fb9609648c25ccf7ff9e535aed5f6c373aa3b7b39"},
    {"Textes_0.txt", "1540aadde34f1d8e27ffce9121e6f1ba44f33321fb9639673b544af4c147c7dd"},
    {"Textes_0.txt", "c73a6324e6f97fb367bb703e878ebaf18c1e4cd9db2823687c0cdecc1f1badde"},
    {"Textes_0.txt", "ecc1e35716e5eaba5d2493920ad206ee44703ce7e9ab1b86403568a13432773d"},
    {"Textes_0.txt", "d91d473fa85b8786a81d7e9ebdac254e19b939fa372b2773b01070a17e493b7a"},
    {"Textes_0.txt", "79705f0eadd7fa70a18584bb1ac2f21bfb5343dbf72ccfe428c71c7adea588a6"},
    {"Textes_0.txt", "02bb7aac475eca3be71971733dc0296b8d140068711159cad374191a6771a74b"},
    {"Textes_0.txt", "38c204365c6ae57a8f290eef65862c51e020f18ab34bbacb7fef1190e8312afe"},
    {"Textes_0.txt", "6f6feb3250bd3b7adc49f71757064cfe0a962f4371e3238b4ce7865cc521886c"},
    {"Textes_1.txt", "05231ef54243e04736519f0eae6794597fa5143423ff14c4e42557f39685d3d7"},
    {"Textes_1.txt", "256fea9eea147df00f1a96493298d8b3f851be127f892654fcfa511dbacb4a52"},
    {"Textes_1.txt", "259c20aa5e2ce9e9a11d35cb07cea31f7b9551878549ad1be0c1a3a35ca73bcb"},
    {"Textes_1.txt", "6482aea935eb8f9e3a207d94a7130c4a851a237c8b2e25d5609975cd7ae35d00"},
    {"Textes_1.txt", "6e4d53a0f32c81734b8d8f3328b5509f5f509c441b47739db6123f848ed234bb"},
    {"Textes_1.txt", "bd8560496b8b0fdd2d220066e85917e3e1912f6c9b954b4a04fe8a60d1042f36"},
    {"Textes_1.txt", "e1d518b47f59c0b3346c8bc82b14d3545a1e3933d5cce02a7ddede48ceff727d"},
    {"Textes_1.txt", "fb01db561c259906f71042152f39d9ddde1989d13d8f51a668272bdecb73cc65"},
    {"Textes_1.txt", "a3896fe79a13e00c5106f2138708353f2a5ffa0f6c18b90305adbb5aa3d9431b"},
    {"Textes_1.txt", "6426784ff100571e833b242b4412fbac9a94227b7ba21147f77228d78eb03ae6"},
    {"Textes_1.txt", "79eed8b9ebde9c302085edf7169eea79ba0398639652745bad8b352e81264bae"},
    {"Textes_1.txt", "f6c69fc2c8bd3351db8e8f6272d7572dada7bf40efe95d4092280ff44d359c4f"},
    {"Textes_1.txt", "29f7941e5cdb893d0006782dad4b8fd1e1684ef89eb5eca89c98b2290620db24"},
    {"Textes_1.txt", "cf5388eca45860ba83557c72ee76ab7ee2284ce9e2658a7bcd29b80bc43cf0d4"},
    {"Textes_1.txt", "341c5e9beb9c4d8e7a53e1cb3b6ce27616a5d7158c4f9753ace9c8bf7949183c"},
    {"Textes_1.txt", "5735039ca149ec80ea60f948cabd46a824e9262fa40148e6cede7c81136bf263"},
    {"Textes_1.txt", "cc91a34fcb3c3d463890e53cadadf29ed63bbcb30e1803f1a7d29b301ae15078"},
    {"Textes_1.txt", "05b669294fe331bc05196ef0ff118ff8f46071e568076db9c56d934d1ffeaa79"},
    {"Textes_1.txt", "fde18d3b13b280a05cbb409f80f905da2108aff95ecb63c0337000ad5e37bda4"},
    {"Textes_1.txt", "4ff4c2a2b712db63b65fc72a9e42357bca249d64d7059c46e94b12a2a1f7232e"},
    {"Textes_1.txt", "7f811f7c8fc19bb666e7c1a5c9af704bb20e41b657f050514c26a1775e136629"},
    {"Textes_1.txt", "c63976e91e13eec5be56e52ad1ea483a687eed335ed7b8060e9a060f06896208"},
    {"Textes_1.txt", "5283e64440cbb336d0bd020d5ff375eee66fbf7cf76f0046e110260af7bdcd7c"},
    {"Textes_1.txt", "de31556fd7e8d272fe32c7be7f9124c937c19cee765586f179409c3b0a131a5e"},
    {"Textes_1.txt", "3aeaee647d711f91cc48b204d08af14ca0be46894fce3a3a7d3445621a8ce7b9"},
    {"Textes_1.txt", "a97155dd7b096afaa2a3cee612ebe602c30e5a69b08004316cdd638873cc7bf3"},
    {"Textes_1.txt", "9febd8ca410e84c28b87a6b114b3dac7496e23a0a2fa93441e8e6757d17df045"},
    {"Textes_1.txt", "793bd545320592282b5ea17e1ba543acb9905a605ae9ded5024954cf533058d8"},
    {"Textes_1.txt", "fc32956fcb2c8e025e7d39df83ef3c419b539564d7ff793331b0e01877ee4710"},
    {"Textes_2.txt", "38f05085f72a7f9c476fa15d9232c90be7b353461009d6cc3f1c03680e27e5e0"},
    {"Textes_2.txt", "57dca204bbc95cc3f58d62b923638408379518830711c7463cb04ae79c6d25ca"},
    {"Textes_2.txt", "764054a427fc567b55ef7431b296831dae66d65c712c1d85df92f6529c6670f4"},
    {"Textes_2.txt", "7e8790003f393c5f0a7997e1a44a0525023ca9dfbd6da6bd5d1dd0781f9e5ad2"},
    {"Textes_2.txt", "99b518949ac67785f55410350d940a19643d1f15653ad544bf1058a50a764ed7"},
    {"Textes_2.txt", "b718bfda937d0812391e681fb331a83582f33be088c0a9e97e464ce78df2f598"},
    {"Textes_2.txt", "d002f77cdc41f15ad97fd208f61958808da1dbb0a15ab96adca43ced5cd7d604"},
    {"Textes_2.txt", "dc664193edb8ebc5ac8f032b6835e4386615f0727e478d5b552b62165266c1d0"},
    {"Textes_2.txt", "eed7863a46717d2b4a39adbbb38e39a1c247121ffdb4cd3cec488d7f20469033"},
    {"Textes_2.txt", "aad421893a84660212f0ef5dd4cee65c4e055ddcb83567495ef3bdfb35ee28c9"},
    {"Textes_2.txt", "bc031b2ad31a8223f3369b6e836fafa55faee4a49a2eba314c6ddd8ba9b36caf"},
    {"Textes_2.txt", "4949035126a476923b66e95968ff3d1652acea7b80f8aaf3e1a5673b58aef175"},
    {"Textes_2.txt", "a4fd9840c7dab05a3e0bed3b59318a088a41c09788a2c72d01d68635d23fbb14"},
    {"Textes_2.txt", "d09e5f707fea129c90d2d901cca4c42852fa1cb8e6ff92fe1aa829e2a69bfd7b"},
    {"Textes_2.txt", "64c29e82c56e41e7d5d540771db5f2cf57c600b9b7f37ae1685f1c7d69a2602a"},
    {"Textes_2.txt", "3edd421bc04d948ab4d3190dd8364bbe9dea49d4483e7314c0f77153e6acbe3b"},
    {"Textes_2.txt", "29f0b55d100a14d74c969dd494832c6bb52e254c8a67bc4f626fd74e9fd8baad"},
    {"Textes_2.txt", "3b2f281aed4787e15b981b10c9f785657b4f1fb06525a1a270edff9934b31f39"},
    {"Textes_2.txt", "695fbeefaf4986b73d0f0b812ce659a01738cdbf8feabaaefefb887fb02453fa"},
    {"Textes_2.txt", "4b28f591449994f84a8713459391f454a334cbed3fe7ba1166da8350d1818f81"},
    {"Textes_2.txt", "bd9555831c111a5b4d6f25d8f2e08b27148012f7f95c9a4459932378c54285d6"},
    {"Textes_2.txt", "c6860858ec3fd4f7056053a8add1c56bcb796374e3d643b0a15f12edb0f8efa7"},
    {"Textes_2.txt", "3e90764d1d9b704a9d050d201b04798dabcfcd90f0e371ce109e54fd58285d60"},
    {"Textes_2.txt", "1f7bcecc9d2f45c3953ed75e8291cdf16589cfe7e71e489051966578b1d39e94"},
    {"Textes_2.txt", "8f10bce4bb01c7aa1f7ffd28ec933bae87f9ad42da31349c5595278df0031950"},
    {"Textes_2.txt", "a7e04ed5378c8206de57cafac50feb5ab06c93a929c6461d8436be3916e3f8ab"},
    {"Textes_2.txt", "fbc499cc17f24225e8b40c3d76adda620be22f4a4fa1a0541887f7e449191a88"},
    {"Textes_2.txt", "0d778ada6249b14ad3d864c6117e564777470943b6ed491e25685790367da75c"},
    {"Textes_2.txt", "bbe964db6aa2afacd25d7199a42355f1ef09b0e9c7e99aa0cb43dc95b4eef4d6"},
    {"Textes_3.txt", "1f26dee5e8e8e60aae8e9330038ee12c98bcc8812d5b4b4cf18fe16bcc0e4a5c"},
    {"Textes_3.txt", "4d36222bbc6047fac569cb3272add8613afae5d8aa7b8050a8b9fd59c403ddd8"},
    {"Textes_3.txt", "4d878f99c65886eae06988221f928d5a62152d8aa590962af5df49816cc67047"},
    {"Textes_3.txt", "5fefb391fd78603c097f80f996bbf60302f5d8f12bb5db706607ca2eca411ac3"},
    {"Textes_3.txt", "7d67537489075f231b432c5ed05f812a48028a59852ce8e9e0c2363579fe6fb5"},
    {"Textes_3.txt", "8f903b670567518fa3a51ca26083eb7e69409df9352acc22b84ef1cc9d212987"},
    {"Textes_3.txt", "eba14374527048e913b5fbfc176ba1437f6338bdb48edf5a3e4cfa8992ccd784"},
    {"Textes_3.txt", "f6aed0896eca62a82f3c5edb6193dc3f4ad8bd96e1a8b504ecf02d1c9e0289ed"},
    {"Textes_3.txt", "6eb44ae3159ad924b1fdbf1a09c14bd3117abda4bdbdf162de696933592b921b"},
    {"Textes_3.txt", "3f7562ecef84acf01889c330dae1c4eb42de2e422c53fd5441f3c2402dd5975d"},
    {"Textes_3.txt", "be9276e60ed2cacde9b931a5466c52a934b60fedbb99eca6d927dbc9127bd345"},
    {"Textes_3.txt", "93d324d236e27d0b681492281024f887d37ecd90516947f6997260b44d085ce6"},
    {"Textes_3.txt", "b306a8769ea64833d6c4390273c3843e6242f1d02743dec6c69f6f6bc9b44663"},
    {"Textes_3.txt", "93c8de8bdf1ed3861f4cc138b934344dc2fb1596f75ffa507a32546c372fab85"},
    {"Textes_3.txt", "d8de94ebfe2e305d1f3ecdbd4e68ea6e943a69ed0fdb5ab6d164ede7929cc3c4"},
    {"Textes_3.txt", "ee6e5f20ff2d4037d02f9cfd61f98aa97644e3496223a39aae7d5cc622b32b5f"},
    {"Textes_3.txt", "2dc8089460ae0780402a13d05d51bab058f499b6c3f6c318e224eb13d94bc76f"},
    {"Textes_3.txt", "1a3fa8a5875d1dbd5470a88ea63c9ab0daf061033218cae96ef47a5e0d15954f"},
    {"Textes_3.txt", "9e4dc7df5e4bb008cff00f71c493fc3b63918af9944f7ceeb7d0715bf97adaa4"},
    {"Textes_3.txt", "509544b8b849a4faccbaee8cde53475430c641ff58aec98315fa8b1243e1711d"},
    {"Textes_3.txt", "80194dc0ca635b556851449b4acc26e2cf4a634fd19ccd31f365a1fcbd1fc0d0"},
    {"Textes_3.txt", "15c70e4f66215994dae7f6e18406722b704d4fa22f710cadbdd3ca15eaa93c32"},
    {"Textes_3.txt", "9e8f1cbc37771dca12ee7d94f059636a8e30a2635406e22822cf9f5adc5547ab"},
    {"Textes_3.txt", "11c3d3f862c0d43a3bb82534325b9fdfb20f10d7b85fa00cd5aa46ae8ec33438"},
    {"Textes_3.txt", "f45bc0f618927e63345a9b72214532acf231494a21d53410f86365716f301694"},
    {"Textes_3.txt", "46ee405f7c3cf75ecbce5e4f0fb5069b6ed799b3c804ba65c43c5aaddbcbacef"},
    {"Textes_3.txt", "aa67f5725fafec913ecaf06f2b262eb63da790762788215dbaef635f7527b258"},
    {"Textes_3.txt", "4f4fe1e5b04390fa86aaddb5ae9e426c91d347f86ef2ab3cd5163e693f67e68d"},
    {"Textes_3.txt", "74cf21e35e34e0c1af816146593d85977cd74208c1f3654890d806b952b878cc"},
    {"Textes_4.txt", "3dce5dd6b0a7f6ced51bed3ccb3b0fb58c50a2fe33bf288546a8ef27184c3647"},
    {"Textes_4.txt", "3f36a8fa439c59e290af4754a140eb87c7670acd2c13402772262a8f7aff6715"},
    {"Textes_4.txt", "46e87574d1ba2329ead2534dcaeda4124a3f7f296245929299025f44adcc7570"},
    {"Textes_4.txt", "8a02532ae1fb8a932b01b2a185f556950cdcda0c0160bf3b15b9a3331acbe8ed"},
    {"Textes_4.txt", "9a76597eb47c46620639b73fa49cfe04ada41dd055ff70490a85820b466a508c"},
    {"Textes_4.txt", "af6923f7e6d8d3359a4fa257259bbf6250293624f850d39d4d2ad89b9c7d1fe9"},
    {"Textes_4.txt", "bbd973dcb7bb4fe2c126fe55eaa10bade666e3c79ea9595b2b1d508fdacf18ee"},
    {"Textes_4.txt", "ce96e405badf90d80cd7606a5330e14e7a1f8c8ceeb18cc165f33c2328202d1e"},
    {"Textes_4.txt", "96e423f61d03fbcf32ae8d965ffb0c6df4d7046e687ca0253285a10438d35a56"},
    {"Textes_4.txt", "514bce9097b89f43f6ca38cb3c502952389403efe47edbd4d4ae929f53fc5e8c"},
    {"Textes_4.txt", "47bd057c96cd9a41f3338df1fc3fd655416935e28c8d6b26d43921d16815768c"},
    {"Textes_4.txt", "75a763e7492a331763aa27194baaf2d898c1ecf29d2a9a425a010189315d5282"},
    {"Textes_4.txt", "41b9c8d84644ce044765098175c070b0c5b4ac79acfe3772cf8196533312d4d0"},
    {"Textes_4.txt", "ba0454e027ff7cd13827e905e9f0dc6c5d2dd0d5753b9a1942891e1e944c7962"},
    {"Textes_4.txt", "0167ca040fceb4968d42e9b04621ce3bb8d8fc3a79945488603cf1e540fac729"},
    {"Textes_4.txt", "b4a939be086f20d42ff9e5c557638bbb73105f665a63f3bc931b5b94dde67f7c"},
    {"Textes_4.txt", "86dd153301be295b0c90d59eea1584e0f0591d607a33f8ebbcdb81ff322db089"},
    {"Textes_4.txt", "eb7a6fb684827721de87f45c7fb78c859bdd8bc9de9b44d400ebe0e83d90b5f9"},
    {"Textes_4.txt", "69094b45234759bee54435b13b9c1e463587b70dfd16e6c10ca6837b286cd957"},
    {"Textes_4.txt", "62aa71691127078c6282aca050b3a25f85e5283f9173e7bafaa73c5bb8d39984"},
    {"Textes_4.txt", "14c2ec75f58ec14b46ae053159d917aae8b9871ee5274917deb7ff3b05d69b34"},
    {"Textes_4.txt", "e19dde6d9d379c8691d3411434ff1416bb573e5dbd1e36ea996b847a722beb37"},
    {"Textes_4.txt", "2a825aeeadb50bc901c6af5cf2df195e8a5788671de1f9a0ed91817f00f22c74"},
    {"Textes_4.txt", "2550e7699d51f1a2fb214c632e3bbf685571ca788421b8bc3bf3396bca5d970a"},
    {"Textes_4.txt", "38bbe064e588c369069a1e367bc9279f8f2f63e3cda62d0a17bff59c254769b7"},
    {"Textes_4.txt", "1ed90d79e5281903f7df5305f6c4af34ae7bfef3d6b16d51bfb180d3dbfbfc5e"},
    {"Textes_4.txt", "a3d47607c7b68f29bdf6fabb8e8526d62480498a1066cefde49bf1df4f060c26"},
    {"Textes_4.txt", "d81070a3dd3d199debbf1b9979f10397c6aac9b457b65243c6728721969bb0ad"},
    {"Textes_4.txt", "5e9cbbd5963315e7ca81048dc0c32fdd01b4fe04623ad0b8566da996724bc763"},
    {"Textes_5.txt", "19d02d927b269c3681f40d21619d79d7766aaf279a421112d5fc667d3f92b76b"},
    {"Textes_5.txt", "1b38de293df71aadadc768ccdd599fbcb2b5fc6b1be8c05e9fa0733257b96011"},
    {"Textes_5.txt", "5237dbc28ec1ac420b41276d39d59f106f82fcabebee7059112bb26e430d8e4e"},
    {"Textes_5.txt", "7cda5d491668f2bbf5e71d1f45064f0b7b9db7c929dc873176d17f1b2b32fc82"},
    {"Textes_5.txt", "b874a9c6f5f412d9b340140d61965883fb6ff0399fd023b595e624437e5ef5ac"},
    {"Textes_5.txt", "b94dabbd2c449dd8b6d9cfa769bc703cd015102afb77a9c7b7a490f9a3e3a249"},
    {"Textes_5.txt", "bd3a356237057c0a75d3056229cec8dc094a3fa25337c0c420c8dda6ef50909e"},
    {"Textes_5.txt", "d631360f71e0413296682bdf034c043bd35dbdccaa33057f9d7df0b33f409c6a"},
    {"Textes_5.txt", "d92f80894eb686948dff28bd7e04ab74624765b1887e2d0b58f45b56fd86c58b"},
    {"Textes_5.txt", "5faa34d611f4e0a487572f92ed0f47cf32d72d9110f1cef7e7f1e1e0bb5a2f9a"},
    {"Textes_5.txt", "739ff0c46af7c96ccd181894104e5f499d223dbae8f51a7cb63fb0db44915ffb"},
    {"Textes_5.txt", "e811a101295bdb0233d5988bf285c40e2458cc2f5332f81dc9420d7b36fa5c7b"},
    {"Textes_5.txt", "8862c7d6cc3d7d3e873079300c47e2608c7d918004f1d117348d404a502c4526"},
    {"Textes_5.txt", "420a1184198846a080cf9eb54509a037ac6b3935ab83c7b1894ffce4d412d50a"},
    {"Textes_5.txt", "18d8ef9331bc43ca26e3cb0723475a3e303d133d130f26c8f96a5d7bf17d15b6"},
    {"Textes_5.txt", "c83b579b438e26b61e8588ea9ea315c32583fabd2c1b7a3ec5056e2676329aa3"},
    {"Textes_5.txt", "026db2361b70678a7fbcbd05b9ae8eaee2b217f807bd44da33f43a00c3b6dc7d"},
    {"Textes_5.txt", "b6c0081f740c0dea48ece0abc5ff32b71e16cb06d17f192dcbf96dffa461c9f1"},
    {"Textes_5.txt", "8e035206327fce322b806f3864f710f3177cdd65600d9216b6b6bfe015c632ac"},
    {"Textes_5.txt", "3732e9a3fc0e7810f58f60e6fb14128c441ef87986067069eb0954e7bb8e1a6c"},
    {"Textes_5.txt", "7cbbbb4e67e6a2c664bb892801e9c0b10afecb3da3b93cc06c56da41afb88561"},
    {"Textes_5.txt", "50d82013988194b20637a9f29f1e06674cde3be064aaec63cd836d3291be9a55"},
    {"Textes_5.txt", "16e2c8a81002547c5af197e3c6a686837853f9349c5411e425f87f80df466a46"},
    {"Textes_5.txt", "629c2effe68abbdd602a409c3d5df2b0fd2778daf8c3ef483a2cd1a1dbffaf2a"},
    {"Textes_5.txt", "fbccc12fb065da82b9f05c89291c09a79cb578f9733eb7c8e4bab7ac98506a33"},
    {"Textes_5.txt", "e610ef717590f9f13c415e4e5e62f7aaa670b4ecb2a7b798d1bca5559b1d959e"},
    {"Textes_5.txt", "3e6687bcc5924c4ce8e41f4ea5b79388a35f3d694fcafff397a2249edae73bae"},
    {"Textes_5.txt", "bed62a1ec1407e839e250bce1bd940b3fb70751fdc8ad0a217b1bc89a19f8fab"},
    {"Textes_5.txt", "8bdc70bcb7816aec4d3483b5bd9001cb76baa284d3e601e9b018eb570b62e587"},
    {"Tips_0.txt", "21f6212e17df80aafc83813cce8c6afb34a53d0f5604bc58a6365445f7e3ddd0"},
    {"Tips_1.txt", "9a82eba775317821e2f2cc8c99789545f09a2160122967a68442c163be9e3d06"},
    {"Tips_2.txt", "428b471eb6e0babc7c650879bfaab5f7e7b321584e374dedd09c8110944f3fff"},
    {"Tips_3.txt", "d9945fe5435ac17937db3679e874099e06d21ba8fb2227c73c0b613a4c9a9e3e"},
    {"Tips_4.txt", "00a1cc7a0b4641c77b237e15b241e271a24ad398c2336f9409bda0af9ca4332e"},
    {"Tips_5.txt", "b3a3d76acf5c425a3327604ebf1a2d19a7a4107c9260407b2c6406740075be63"},
};

}  // namespace

std::span<const ShippedDigest> shippedDigests()
{
    return digests;
}

bool isShippedVersion(const QString& fileName, const QByteArray& bytes)
{
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    for (const ShippedDigest& d : digests) {
        if (fileName == QLatin1String(d.name) && digest == d.sha256)
            return true;
    }
    return false;
}

bool isShippedText(const QString& fileName, int entry, const QString& text)
{
    const QByteArray file = fileName.toUtf8();
    const QByteArray utf8 = text.toUtf8();
    const ShippedText key{file.constData(), entry, utf8.constData()};
    // The generated table is sorted by file, entry and bytes, as strcmp orders them.
    const auto before = [](const ShippedText& a, const ShippedText& b) {
        if (const int byFile = std::strcmp(a.file, b.file); byFile != 0)
            return byFile < 0;
        if (a.entry != b.entry)
            return a.entry < b.entry;
        return std::strcmp(a.text, b.text) < 0;
    };
    const std::span<const ShippedText> table = shippedTexts();
    return std::binary_search(table.begin(), table.end(), key, before);
}

}  // namespace tormel
